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

// Called once the display mode has changed: exit, Ctrl+C, a closed console or a crash then give
// the desktop its own mode back. Disarmed once the program has given it back itself.
void GuardDisplayMode();
void DisarmDisplayModeGuard();

// Device contexts, GL contexts and bitmaps cross the seam as the system's own handles.
inline HDC ToHdc(DeviceHandle device) {
    return reinterpret_cast<HDC>(device);
}
inline DeviceHandle FromHdc(HDC dc) {
    return reinterpret_cast<DeviceHandle>(dc);
}

} // namespace VARKO::Platform
