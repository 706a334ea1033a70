// General pictures through stb_image (Debian's libstb-dev): JPEG (baseline and progressive),
// PNG, BMP, GIF, TGA and others, always to RGBA bytes. Four-channel JPEGs are refused by the
// decoder.

#include "src/platform/web/web_internal.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO_WARNINGS
#include <stb_image.h>

#include <cstring>
#include <memory>
#include <new>

namespace VARKO::Platform {

struct StbFree {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};

bool DecodePicture(const std::string& path, Picture& picture) {
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char, StbFree> pixels(
        stbi_load(path.c_str(), &width, &height, &channels, 4));
    if (!pixels || width <= 0 || height <= 0) {
        return false;
    }
    try {
        picture.rgba.assign(pixels.get(), pixels.get() + std::size_t(width) * height * 4);
    } catch (const std::bad_alloc&) {
        return false; // too big to copy: fails like a picture that cannot be decoded
    }
    picture.width = width;
    picture.height = height;
    return true;
}

} // namespace VARKO::Platform
