#include "src/image.h"

#include "src/exception.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

namespace VARKO {

namespace {

// The line numbers the exception report has always shown for these faults; people who met them
// know them by these numbers.
constexpr Image::PixelCheck kSetPixelColour{"SetPixel", 258, 262};
constexpr Image::PixelCheck kSetPixelColourAlpha{"SetPixel", 285, 289};
constexpr Image::PixelCheck kGetPixel{"GetPixel", 312, 316};
constexpr Image::PixelCheck kGetPixelAlpha{"GetPixel", 332, 336};

const char* const kFile = ".\\src\\image";

// Truncates toward zero like the byte conversion always has; values the byte cannot hold are
// clamped so that out-of-range colours stay well defined.
unsigned char ToByte(float component) {
    const double value = static_cast<double>(component) * 255.0;
    if (!(value > 0.0)) {
        return 0;
    }
    if (value >= 255.0) {
        return 255;
    }
    return static_cast<unsigned char>(value);
}

float FromByte(unsigned char sample) {
    return sample * 0.00390625f;
}

bool HasExtension(const char* fname, std::size_t length, const char* upperExtension) {
    if (length < 3) {
        return false;
    }
    const char* tail = fname + length - 3;
    for (int i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(tail[i])) != upperExtension[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

Image::~Image() {
    Release();
}

void Image::Release() {
    delete[] pixels;
    pixels = nullptr;
}

bool Image::Create(int wid, int hit, bool alp) {
    Release();
    bytesPerPixel = alp ? 4 : 3;
    if (wid < 0 || hit < 0) {
        bytesPerPixel = 0;
        return false;
    }
    const std::uint64_t size = std::uint64_t(wid) * std::uint64_t(hit) * bytesPerPixel;
    pixels = new (std::nothrow) unsigned char[size];
    if (pixels == nullptr) {
        bytesPerPixel = 0;
        return false;
    }
    width = wid;
    height = hit;
    alpha = alp;
    return true;
}

bool Image::Load(const char* fname) {
    if (fname == nullptr) {
        return false;
    }
    Release();
    const std::size_t length = std::strlen(fname);
    if (HasExtension(fname, length, "TGA")) {
        return LoadTGA(fname);
    }
    if (HasExtension(fname, length, "PCX")) {
        return LoadPCX(fname);
    }
    return LoadOther(fname);
}

unsigned char* Image::PixelAt(int x, int y) const {
    return pixels + (std::size_t(width) * std::size_t(y) + std::size_t(x)) * bytesPerPixel;
}

// The pixel at (x, y) for an accessor, which throws when there is no buffer or no such pixel.
unsigned char* Image::CheckedPixel(int x, int y, const PixelCheck& check) const {
    const std::string prefix = std::string("Image :: ") + check.operation;
    if (pixels == nullptr) {
        throw LumoException(check.noImageLine, kFile, prefix + " - No image set up.");
    }
    if (!InImage(x, y)) {
        throw LumoException(check.rangeLine, kFile, prefix + " - Coordinates out of range.");
    }
    return PixelAt(x, y);
}

void Image::SetPixel(int x, int y, const Colour& col) {
    unsigned char* pixel = CheckedPixel(x, y, kSetPixelColour);
    pixel[0] = ToByte(col.r);
    pixel[1] = ToByte(col.g);
    pixel[2] = ToByte(col.b);
    if (alpha) {
        pixel[3] = 255;
    }
}

void Image::SetPixel(int x, int y, const ColourAlpha& col) {
    unsigned char* pixel = CheckedPixel(x, y, kSetPixelColourAlpha);
    pixel[0] = ToByte(col.r);
    pixel[1] = ToByte(col.g);
    pixel[2] = ToByte(col.b);
    if (alpha) {
        pixel[3] = ToByte(col.a);
    }
}

Colour Image::GetPixel(int x, int y) {
    const unsigned char* pixel = CheckedPixel(x, y, kGetPixel);
    return Colour(FromByte(pixel[0]), FromByte(pixel[1]), FromByte(pixel[2]));
}

ColourAlpha Image::GetPixelAlpha(int x, int y) {
    const unsigned char* pixel = CheckedPixel(x, y, kGetPixelAlpha);
    const float a = alpha ? FromByte(pixel[3]) : 1.0f;
    return ColourAlpha(FromByte(pixel[0]), FromByte(pixel[1]), FromByte(pixel[2]), a);
}

} // namespace VARKO
