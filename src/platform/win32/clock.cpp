// The high-resolution performance counter, and the multimedia timer for systems without one.

#include "src/platform/win32/win32_internal.h"

#include <mmsystem.h>

namespace VARKO::Platform {

std::int64_t CounterFrequency() {
    LARGE_INTEGER frequency{};
    return QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
}

std::int64_t CounterValue() {
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

std::uint32_t Milliseconds() {
    return timeGetTime();
}

} // namespace VARKO::Platform
