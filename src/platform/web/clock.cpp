// The browser's monotonic clock (performance.now()), in milliseconds with a fraction; the
// counter counts its microseconds.
//
// Test hook: a page opened with ?clock=MS keeps the clock at 0 until the first frame has been
// shown and at MS from then on, as the headless frame renderer holds it, so that a frame can be
// compared with that renderer's picture of the same moment.

#include "src/platform/web/web_internal.h"

#include <emscripten/emscripten.h>

namespace VARKO::Platform {
namespace {

// The page's ?clock= value in milliseconds, or -1 without one.
EM_JS(double, varko_clock_parameter, (), {
    var value = new URLSearchParams(location.search).get('clock');
    var number = value == null ? NaN : Number(value);
    return isFinite(number) && number >= 0 ? number : -1;
});

double NowMilliseconds() {
    static const double standing = varko_clock_parameter();
    if (standing < 0) {
        return emscripten_get_now();
    }
    return FirstFrameShown() ? standing : 0.0;
}

} // namespace

std::int64_t CounterFrequency() {
    return 1000000;
}

std::int64_t CounterValue() {
    return static_cast<std::int64_t>(NowMilliseconds() * 1000.0);
}

std::uint32_t Milliseconds() {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(NowMilliseconds()));
}

} // namespace VARKO::Platform
