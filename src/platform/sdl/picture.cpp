// General pictures on SDL2: SDL2_image decodes (JPEG, PNG, BMP, GIF and whatever else it was
// built with) and the surface is converted to RGBA bytes. Neither needs SDL_Init.
//
// Four-channel (CMYK) JPEGs come out of SDL2_image as the raw samples C, M, Y, K labelled as
// blue, green, red and alpha. Those with Adobe's marker (the common kind, stored inverted) are
// turned into RGB here; any other four-channel JPEG is refused, as the meaning of its samples is
// unknown.

#include "src/platform/sdl/sdl_internal.h"

#include <SDL2/SDL_image.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace VARKO::Platform {

namespace {

enum class JpegChannels { NotFourChannel, AdobeCmyk, OtherFourChannel };

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the JPEG markers up to the first frame header: how many channels the frame has and
// whether Adobe's marker came before it. Anything that is not a well-formed JPEG head counts as
// NotFourChannel and is left to the decoder.
JpegChannels InspectJpeg(const std::string& path) {
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    unsigned char head[2];
    if (!file || std::fread(head, 1, 2, file.get()) != 2 || head[0] != 0xFF || head[1] != 0xD8) {
        return JpegChannels::NotFourChannel;
    }
    bool adobe = false;
    unsigned char segment[16];
    while (std::fread(segment, 1, 4, file.get()) == 4 && segment[0] == 0xFF) {
        const int marker = segment[1];
        const long length = segment[2] << 8 | segment[3];
        if (length < 2 || marker == 0xDA) {
            break;
        }
        const long body = length - 2;
        const long wanted = body < 12 ? body : 12;
        if (std::fread(segment, 1, wanted, file.get()) != std::size_t(wanted)) {
            break;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            const bool four = wanted >= 6 && segment[5] == 4;
            return !four   ? JpegChannels::NotFourChannel
                   : adobe ? JpegChannels::AdobeCmyk
                           : JpegChannels::OtherFourChannel;
        }
        adobe = adobe || (marker == 0xEE && wanted >= 5 && std::memcmp(segment, "Adobe", 5) == 0);
        if (std::fseek(file.get(), body - wanted, SEEK_CUR) != 0) {
            break;
        }
    }
    return JpegChannels::NotFourChannel;
}

// Adobe's CMYK samples are stored inverted (255 - C, ..., 255 - K), so with c, m, y, k the bytes
// as stored, red is c * k / 255 and so on.
bool ConvertAdobeCmyk(SDL_Surface* surface) {
    if (surface->format->format != SDL_PIXELFORMAT_ARGB8888 || SDL_LockSurface(surface) != 0) {
        return false;
    }
    auto* pixels = static_cast<unsigned char*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y) {
        unsigned char* pixel = pixels + std::size_t(y) * surface->pitch;
        for (int x = 0; x < surface->w; ++x, pixel += 4) {
            const unsigned k = pixel[3];
            const unsigned char red = (pixel[0] * k + 127) / 255;
            const unsigned char green = (pixel[1] * k + 127) / 255;
            const unsigned char blue = (pixel[2] * k + 127) / 255;
            // ARGB8888 in memory: blue, green, red, alpha.
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
            pixel[3] = 255;
        }
    }
    SDL_UnlockSurface(surface);
    return true;
}

// The decoded surface, with four-channel JPEGs converted or refused (null).
SDL_Surface* Decode(const std::string& path) {
    SDL_Surface* decoded = IMG_Load(path.c_str());
    if (decoded == nullptr) {
        return nullptr;
    }
    const JpegChannels channels = InspectJpeg(path);
    if (channels == JpegChannels::OtherFourChannel ||
        (channels == JpegChannels::AdobeCmyk && !ConvertAdobeCmyk(decoded))) {
        SDL_FreeSurface(decoded);
        return nullptr;
    }
    return decoded;
}

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
    SDL_Surface* decoded = Decode(path);
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
