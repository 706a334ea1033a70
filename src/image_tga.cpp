// TGA decoder: uncompressed (type 2) and run-length encoded (type 10) true-colour files of 24 or
// 32 bits, with zero-length ID, no colour map and origin (0, 0). Every failure tells the user why
// in a message box and leaves no buffer behind.

#include "src/image.h"

#include "src/message_box.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <utility>

namespace VARKO {

// The first 12 bytes of the file as they stand.
struct TGAHead {
    unsigned char Header[12];
};

// The six bytes from offset 12 (size, depth, descriptor) and what follows from them.
struct TGA {
    unsigned char header[6];
    std::uint32_t bytesPerPixel;
    std::uint64_t imageSize; // 65535 x 65535 x 4 does not fit 32 bits
    std::uint32_t Height;
    std::uint32_t Width;
    std::uint32_t Bpp;
};

static TGAHead head;
static TGA tga;

static const unsigned char uTGAcompare[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
static const unsigned char cTGAcompare[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
using Buffer = std::unique_ptr<unsigned char[]>;

bool Report(const char* text, const char* caption = "ERROR") {
    ShowMessageBox(text, caption, Platform::MessageButtons::Ok, Platform::MessageIcon::Exclamation);
    return false;
}

std::uint64_t RemainingBytes(std::FILE* file) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    const long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end > here ? std::uint64_t(end - here) : 0;
}

bool ReadImageInfo(std::FILE* file, int& width, int& height, bool& alpha) {
    if (std::fread(tga.header, 1, sizeof tga.header, file) != sizeof tga.header) {
        return Report("Could not read info header");
    }
    width = tga.header[1] * 256 + tga.header[0];
    height = tga.header[3] * 256 + tga.header[2];
    tga.Bpp = tga.header[4];
    alpha = tga.Bpp == 32;
    if (width <= 0 || height <= 0 || (tga.Bpp != 24 && tga.Bpp != 32)) {
        return Report("Invalid texture information");
    }
    tga.Width = width;
    tga.Height = height;
    tga.bytesPerPixel = tga.Bpp / 8;
    tga.imageSize = std::uint64_t(tga.bytesPerPixel) * tga.Width * tga.Height;
    return true;
}

Buffer AllocateImage() {
    if (tga.imageSize > std::numeric_limits<std::size_t>::max()) {
        return nullptr;
    }
    return Buffer(new (std::nothrow) unsigned char[tga.imageSize]);
}

void SwapRedAndBlue(unsigned char* pixels) {
    for (std::uint64_t at = 0; at < tga.imageSize; at += tga.bytesPerPixel) {
        std::swap(pixels[at], pixels[at + 2]);
    }
}

// Stores run-length decoded pixels; without a buffer it only counts them.
class PixelSink {
public:
    explicit PixelSink(unsigned char* out) : out(out) {}
    bool Full() const { return stored == std::uint64_t(tga.Width) * tga.Height; }
    bool Store(const unsigned char* pixel) {
        if (Full()) {
            return false;
        }
        if (out != nullptr) {
            out[0] = pixel[2];
            out[1] = pixel[1];
            out[2] = pixel[0];
            if (tga.bytesPerPixel == 4) {
                out[3] = pixel[3];
            }
            out += tga.bytesPerPixel;
        }
        ++stored;
        return true;
    }

private:
    unsigned char* out;
    std::uint64_t stored = 0;
};

// One packet; false after reporting why it failed.
bool DecodePacket(std::FILE* file, PixelSink& sink) {
    const int header = std::fgetc(file);
    if (header == EOF) {
        return Report("Could not read RLE header");
    }
    unsigned char pixel[4];
    if (header < 128) {
        for (int n = 0; n <= header; ++n) {
            if (std::fread(pixel, 1, tga.bytesPerPixel, file) != tga.bytesPerPixel) {
                return Report("Could not read image data");
            }
            if (!sink.Store(pixel)) {
                return Report("Too many pixels read");
            }
        }
        return true;
    }
    if (std::fread(pixel, 1, tga.bytesPerPixel, file) != tga.bytesPerPixel) {
        return Report("Could not read from file");
    }
    for (int n = 0; n < header - 127; ++n) {
        if (!sink.Store(pixel)) {
            return Report("Too many pixels read");
        }
    }
    return true;
}

} // namespace

bool LoadTGA(const char* filename, int& width, int& height, bool& alpha, unsigned char** bits) {
    *bits = nullptr;
    std::FILE* file = filename != nullptr ? std::fopen(filename, "rb") : nullptr;
    if (file == nullptr) {
        return Report("Could not open texture file");
    }
    if (std::fread(head.Header, 1, sizeof head.Header, file) != sizeof head.Header) {
        std::fclose(file);
        return Report("Could not read file header");
    }
    if (std::memcmp(head.Header, uTGAcompare, sizeof uTGAcompare) == 0) {
        return LoadUncompressedTGA(file, width, height, alpha, bits);
    }
    if (std::memcmp(head.Header, cTGAcompare, sizeof cTGAcompare) == 0) {
        return LoadCompressedTGA(file, width, height, alpha, bits);
    }
    std::fclose(file);
    return Report("TGA file be type 2 or type 10 ", "Invalid Image");
}

bool LoadUncompressedTGA(std::FILE* fTGA, int& width, int& height, bool& alpha,
                         unsigned char** bits) {
    const File file(fTGA);
    *bits = nullptr;
    if (!ReadImageInfo(fTGA, width, height, alpha)) {
        return false;
    }
    // A file too short for the pixels fails the read anyway; don't allocate for it first.
    if (RemainingBytes(fTGA) < tga.imageSize) {
        return Report("Could not read image data");
    }
    Buffer pixels = AllocateImage();
    if (!pixels) {
        return Report("Could not allocate memory for image");
    }
    if (std::fread(pixels.get(), 1, tga.imageSize, fTGA) != tga.imageSize) {
        return Report("Could not read image data");
    }
    SwapRedAndBlue(pixels.get());
    *bits = pixels.release();
    return true;
}

bool LoadCompressedTGA(std::FILE* fTGA, int& width, int& height, bool& alpha,
                       unsigned char** bits) {
    const File file(fTGA);
    *bits = nullptr;
    if (!ReadImageInfo(fTGA, width, height, alpha)) {
        return false;
    }
    // A run packet of 1 + bytesPerPixel bytes carries at most 128 pixels. A file too short to
    // complete the image is decoded without a buffer: it fails at the same packet with the same
    // message, and a forged header cannot make us allocate gigabytes.
    const std::uint64_t pixelCount = std::uint64_t(tga.Width) * tga.Height;
    const bool canComplete = pixelCount <= RemainingBytes(fTGA) / (1 + tga.bytesPerPixel) * 128;
    Buffer pixels;
    if (canComplete) {
        pixels = AllocateImage();
        if (!pixels) {
            return Report("Could not allocate memory for image");
        }
    }
    PixelSink sink(pixels.get());
    while (!sink.Full()) {
        if (!DecodePacket(fTGA, sink)) {
            return false;
        }
    }
    // A file that held more than its size said (a pipe, a file still growing) decoded into no
    // buffer: that is no picture either.
    if (!pixels) {
        return Report("Could not read image data");
    }
    *bits = pixels.release();
    return true;
}

bool Image::LoadTGA(const char* fname) {
    Release();
    const bool loaded = VARKO::LoadTGA(fname, width, height, alpha, &pixels);
    bytesPerPixel = alpha ? 4 : 3;
    return loaded;
}

} // namespace VARKO
