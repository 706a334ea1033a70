#include "math/color.h"

// Constant-initialised, so program-wide objects may copy them during their own construction.
constinit const COLOR white(1.0f, 1.0f, 1.0f, 1.0f);
constinit const COLOR red(1.0f, 0.0f, 0.0f, 1.0f);
constinit const COLOR green(0.0f, 1.0f, 0.0f, 1.0f);
constinit const COLOR blue(0.0f, 0.0f, 1.0f, 1.0f);
constinit const COLOR black(0.0f, 0.0f, 0.0f, 0.0f);

namespace {

float ClampComponent(float value) {
    if (value > 1.0f) {
        return 1.0f;
    }
    if (value < 0.0f) {
        return 0.0f;
    }
    return value;
}

} // namespace

void COLOR::ClampTo01() {
    r = ClampComponent(r);
    g = ClampComponent(g);
    b = ClampComponent(b);
    a = ClampComponent(a);
}
