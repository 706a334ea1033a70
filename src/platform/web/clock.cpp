// The browser's monotonic clock (performance.now()), in milliseconds with a fraction; the
// counter counts its microseconds.

#include "src/platform/web/web_internal.h"

#include <emscripten/emscripten.h>

namespace VARKO::Platform {

std::int64_t CounterFrequency() {
    return 1000000;
}

std::int64_t CounterValue() {
    return static_cast<std::int64_t>(emscripten_get_now() * 1000.0);
}

std::uint32_t Milliseconds() {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(emscripten_get_now()));
}

} // namespace VARKO::Platform
