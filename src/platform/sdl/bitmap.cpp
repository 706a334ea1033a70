// Launcher bitmaps and the desktop size on SDL2: BMP files become SDL surfaces, and rectangles of
// them are blitted onto the window's own software surface, which PresentWindow puts on screen.

#include "src/platform/sdl/sdl_internal.h"

#include <algorithm>

namespace VARKO::Platform {

struct NativeBitmap {
    SDL_Surface* surface;
};

BitmapHandle LoadBitmapFile(const std::string& path) {
    SDL_Surface* surface = SDL_LoadBMP(path.c_str());
    if (!surface) {
        return nullptr;
    }
    return new NativeBitmap{surface};
}

void GetBitmapSize(BitmapHandle bitmap, int& width, int& height) {
    width = bitmap->surface->w;
    height = bitmap->surface->h;
}

void FreeBitmap(BitmapHandle bitmap) {
    if (bitmap) {
        SDL_FreeSurface(bitmap->surface);
        delete bitmap;
    }
}

void CopyBitmapRect(WindowHandle window, BitmapHandle bitmap, int x, int y, int width, int height) {
    if (!window || !window->sdl || !bitmap) {
        return;
    }
    // Clip to the bitmap here; the rectangle comes from a configuration file. Widening to long
    // long keeps x + width from overflowing.
    const SDL_Surface* source = bitmap->surface;
    long long left = std::max(x, 0);
    long long top = std::max(y, 0);
    long long right = std::min<long long>(static_cast<long long>(x) + width, source->w);
    long long bottom = std::min<long long>(static_cast<long long>(y) + height, source->h);
    if (right <= left || bottom <= top) {
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(window->sdl);
    if (!target) {
        return;
    }
    SDL_Rect from{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                  static_cast<int>(bottom - top)};
    SDL_Rect to = from;
    SDL_BlitSurface(bitmap->surface, &from, target, &to);
}

void PresentWindow(WindowHandle window) {
    if (window && window->sdl) {
        ShowWindowOnce(window);
        SDL_UpdateWindowSurface(window->sdl);
    }
}

void GetDesktopSize(int& width, int& height) {
    SDL_DisplayMode mode{};
    if (!EnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        mode.w = 0;
        mode.h = 0;
    }
    width = mode.w;
    height = mode.h;
}

} // namespace VARKO::Platform
