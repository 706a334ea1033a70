// Display modes for full-screen windows. SDL changes the mode when a full-screen window appears
// and gives the desktop mode back when it goes, so a change is remembered here until the GL
// window is made.

#include "src/platform/sdl/sdl_internal.h"

namespace VARKO::Platform {
namespace {

SDL_DisplayMode pendingMode;
bool modePending = false;

bool DepthMatches(const SDL_DisplayMode& mode, int bits) {
    int modeBits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    // 32-bit modes report 24 significant bits.
    return modeBits == bits || (bits == 32 && modeBits == 24);
}

} // namespace

const SDL_DisplayMode* PendingFullscreenMode() {
    return modePending ? &pendingMode : nullptr;
}

bool ChangeDisplayMode(int width, int height, int bits) {
    if (!EnsureVideo()) {
        return false;
    }
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height &&
            DepthMatches(mode, bits)) {
            pendingMode = mode;
            modePending = true;
            return true;
        }
    }
    return false;
}

void RestoreDisplayMode() {
    modePending = false;
}

void ShowMouseCursor() {
    SDL_ShowCursor(SDL_ENABLE);
}

} // namespace VARKO::Platform
