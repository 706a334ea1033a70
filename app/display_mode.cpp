#include "app/display_mode.h"

namespace VARKO {

DisplayMode ModeFromChoices(int res, int depth, bool full) {
    DisplayMode mode{800, 600, 32, full};
    if (res == 0) {
        mode.width = 640;
        mode.height = 480;
    } else if (res == 2) {
        mode.width = 1024;
        mode.height = 768;
    }
    if (depth == 0) {
        mode.bits = 8;
    } else if (depth == 1) {
        mode.bits = 16;
    }
    return mode;
}

} // namespace VARKO
