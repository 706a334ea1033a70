// Launcher bitmaps and the desktop size in the browser. BMP files are decoded by stb_image;
// rectangles of them are copied into the window's own pixels, which PresentWindow puts on the
// canvas through its 2D context.

#include "src/platform/web/web_internal.h"

#include <stb_image.h>

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace VARKO::Platform {

struct NativeBitmap {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

namespace {

bool IsBmpFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    char magic[2] = {};
    const bool read = file && std::fread(magic, 1, 2, file) == 2;
    if (file) {
        std::fclose(file);
    }
    return read && magic[0] == 'B' && magic[1] == 'M';
}

EM_JS(void, varko_put_pixels, (const unsigned char* rgba, int width, int height), {
    var canvas = document.getElementById('canvas');
    var context = canvas && canvas.getContext('2d');
    if (!context)
        return;
    var bytes = new Uint8ClampedArray(HEAPU8.subarray(rgba, rgba + width * height * 4));
    context.putImageData(new ImageData(bytes, width, height), 0, 0);
});

EM_JS(int, varko_screen_width, (), { return screen.width; });
EM_JS(int, varko_screen_height, (), { return screen.height; });

} // namespace

BitmapHandle LoadBitmapFile(const std::string& path) {
    if (!IsBmpFile(path)) {
        return nullptr;
    }
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) {
        return nullptr;
    }
    auto* bitmap = new NativeBitmap{width, height, {}};
    bitmap->rgba.assign(pixels, pixels + std::size_t(width) * height * 4);
    stbi_image_free(pixels);
    return bitmap;
}

void GetBitmapSize(BitmapHandle bitmap, int& width, int& height) {
    width = bitmap->width;
    height = bitmap->height;
}

void FreeBitmap(BitmapHandle bitmap) {
    delete bitmap;
}

void CopyBitmapRect(WindowHandle window, BitmapHandle bitmap, int x, int y, int width, int height) {
    if (!window || !bitmap) {
        return;
    }
    // The rectangle comes from a configuration file: clip it to the bitmap and the window, in
    // long long so that x + width cannot overflow.
    const long long right =
        std::min({static_cast<long long>(x) + width, static_cast<long long>(bitmap->width),
                  static_cast<long long>(window->width)});
    const long long bottom =
        std::min({static_cast<long long>(y) + height, static_cast<long long>(bitmap->height),
                  static_cast<long long>(window->height)});
    const long long left = std::max(x, 0), top = std::max(y, 0);
    if (right <= left || bottom <= top) {
        return;
    }
    window->pixels.resize(std::size_t(window->width) * window->height * 4);
    const std::size_t rowBytes = std::size_t(right - left) * 4;
    for (long long row = top; row < bottom; ++row) {
        const unsigned char* from = &bitmap->rgba[(std::size_t(row) * bitmap->width + left) * 4];
        unsigned char* to = &window->pixels[(std::size_t(row) * window->width + left) * 4];
        std::memcpy(to, from, rowBytes);
    }
}

void PresentWindow(WindowHandle window) {
    if (window && !window->pixels.empty()) {
        varko_put_pixels(window->pixels.data(), window->width, window->height);
    }
}

void GetDesktopSize(int& width, int& height) {
    width = varko_screen_width();
    height = varko_screen_height();
}

} // namespace VARKO::Platform
