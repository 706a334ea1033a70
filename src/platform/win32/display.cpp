// Display modes for full-screen windows and the desktop's size.

#include "src/platform/win32/win32_internal.h"

namespace VARKO::Platform {

bool ChangeDisplayMode(int width, int height, int bits) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bits);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
        return false;
    }
    GuardDisplayMode();
    return true;
}

void RestoreDisplayMode() {
    DisarmDisplayModeGuard();
    ChangeDisplaySettingsA(nullptr, 0);
}

void ShowMouseCursor() {
    ShowCursor(TRUE);
}

void GetDesktopSize(int& width, int& height) {
    RECT desktop{};
    GetClientRect(GetDesktopWindow(), &desktop);
    width = desktop.right - desktop.left;
    height = desktop.bottom - desktop.top;
}

} // namespace VARKO::Platform
