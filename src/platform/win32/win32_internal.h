#pragma once
// Shared between the Win32 backend's files only.

#include "src/gl_api.h" // <windows.h> first, then GL
#include "src/platform/platform.h"

#include <deque>

namespace VARKO::Platform {

struct NativeWindow {
    HWND hwnd = nullptr;
    void* slot = nullptr;
    std::deque<Event> events; // recorded by the window procedure, taken by PollEvent
};

// Device contexts, GL contexts and bitmaps cross the seam as the system's own handles.
inline HDC ToHdc(DeviceHandle device) {
    return reinterpret_cast<HDC>(device);
}
inline DeviceHandle FromHdc(HDC dc) {
    return reinterpret_cast<DeviceHandle>(dc);
}

} // namespace VARKO::Platform
