// Display modes for full-screen windows. SDL changes the mode when a full-screen window appears
// and gives the desktop mode back when it goes, so a change is remembered here until the GL
// window is made.
//
// Linux displays keep one colour depth for all their modes, so a full-screen window gets the size
// asked for at the desktop's own depth; the GL drawing surface still asks for the chosen colour
// bits. Only a size the display does not have is refused.

#include "src/platform/sdl/sdl_internal.h"

namespace VARKO::Platform {
namespace {

SDL_DisplayMode pendingMode;
bool modePending = false;

// A mode of the given size at the desktop's depth, preferring the desktop's own mode and then its
// refresh rate.
bool FindModeOfSize(int width, int height, SDL_DisplayMode& found) {
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        return false;
    }
    if (desktop.w == width && desktop.h == height) {
        found = desktop;
        return true;
    }
    bool any = false;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w != width || mode.h != height ||
            SDL_BITSPERPIXEL(mode.format) != SDL_BITSPERPIXEL(desktop.format)) {
            continue;
        }
        if (!any || mode.refresh_rate == desktop.refresh_rate) {
            found = mode;
            any = true;
        }
    }
    return any;
}

} // namespace

const SDL_DisplayMode* PendingFullscreenMode() {
    return modePending ? &pendingMode : nullptr;
}

bool ChangeDisplayMode(int width, int height, int) {
    if (!EnsureVideo() || !FindModeOfSize(width, height, pendingMode)) {
        return false;
    }
    modePending = true;
    return true;
}

void RestoreDisplayMode() {
    modePending = false;
}

void ShowMouseCursor() {
    SDL_ShowCursor(SDL_ENABLE);
}

} // namespace VARKO::Platform
