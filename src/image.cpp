#include "src/image.h"

#include "src/exception.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <new>

namespace VARKO {

namespace {

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

void Image::SetPixel(int x, int y, const Colour& col) {
    if (pixels == nullptr) {
        throw LumoException(__LINE__, kFile, "Image :: SetPixel - No image set up.");
    }
    if (!InImage(x, y)) {
        throw LumoException(__LINE__, kFile, "Image :: SetPixel - Coordinates out of range.");
    }
    unsigned char* pixel = PixelAt(x, y);
    pixel[0] = ToByte(col.r);
    pixel[1] = ToByte(col.g);
    pixel[2] = ToByte(col.b);
    if (alpha) {
        pixel[3] = 255;
    }
}

void Image::SetPixel(int x, int y, const ColourAlpha& col) {
    if (pixels == nullptr) {
        throw LumoException(__LINE__, kFile, "Image :: SetPixel - No image set up.");
    }
    if (!InImage(x, y)) {
        throw LumoException(__LINE__, kFile, "Image :: SetPixel - Coordinates out of range.");
    }
    unsigned char* pixel = PixelAt(x, y);
    pixel[0] = ToByte(col.r);
    pixel[1] = ToByte(col.g);
    pixel[2] = ToByte(col.b);
    if (alpha) {
        pixel[3] = ToByte(col.a);
    }
}

Colour Image::GetPixel(int x, int y) {
    if (pixels == nullptr) {
        throw LumoException(__LINE__, kFile, "Image :: GetPixel - No image set up.");
    }
    if (!InImage(x, y)) {
        throw LumoException(__LINE__, kFile, "Image :: GetPixel - Coordinates out of range.");
    }
    const unsigned char* pixel = PixelAt(x, y);
    return Colour(FromByte(pixel[0]), FromByte(pixel[1]), FromByte(pixel[2]));
}

ColourAlpha Image::GetPixelAlpha(int x, int y) {
    if (pixels == nullptr) {
        throw LumoException(__LINE__, kFile, "Image :: GetPixel - No image set up.");
    }
    if (!InImage(x, y)) {
        throw LumoException(__LINE__, kFile, "Image :: GetPixel - Coordinates out of range.");
    }
    const unsigned char* pixel = PixelAt(x, y);
    const float a = alpha ? FromByte(pixel[3]) : 1.0f;
    return ColourAlpha(FromByte(pixel[0]), FromByte(pixel[1]), FromByte(pixel[2]), a);
}

} // namespace VARKO
