#include "src/platform/sdl/sdl_internal.h"

namespace VARKO::Platform {

std::int64_t CounterFrequency() {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}

std::int64_t CounterValue() {
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::uint32_t Milliseconds() {
    return SDL_GetTicks();
}

} // namespace VARKO::Platform
