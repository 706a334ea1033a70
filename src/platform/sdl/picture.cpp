// General pictures on SDL2: SDL2_image decodes (JPEG, PNG, BMP, GIF and whatever else it was
// built with) and the surface is converted to RGBA bytes. Neither needs SDL_Init.

#include "src/platform/sdl/sdl_internal.h"

#include <SDL2/SDL_image.h>

#include <cstring>
#include <new>

namespace VARKO::Platform {

namespace {

// Loading the codec libraries up front spares IMG_Load doing it on every call.
void StartDecoders() {
    static const int started = IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
    (void)started;
}

bool CopyPixels(SDL_Surface* surface, Picture& picture) {
    const std::size_t rowBytes = std::size_t(surface->w) * 4;
    picture.rgba.resize(rowBytes * surface->h);
    if (SDL_LockSurface(surface) != 0) {
        return false;
    }
    picture.width = surface->w;
    picture.height = surface->h;
    const auto* source = static_cast<const unsigned char*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y) {
        std::memcpy(picture.rgba.data() + y * rowBytes, source + std::size_t(y) * surface->pitch,
                    rowBytes);
    }
    SDL_UnlockSurface(surface);
    return true;
}

} // namespace

bool DecodePicture(const std::string& path, Picture& picture) {
    StartDecoders();
    SDL_Surface* decoded = IMG_Load(path.c_str());
    if (decoded == nullptr) {
        return false;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(decoded);
    if (rgba == nullptr) {
        return false;
    }
    bool copied = false;
    try {
        copied = CopyPixels(rgba, picture);
    } catch (const std::bad_alloc&) {
        copied = false; // too big to copy: fails like a picture that cannot be decoded
    }
    SDL_FreeSurface(rgba);
    return copied;
}

} // namespace VARKO::Platform
