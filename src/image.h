#pragma once
// The in-memory raster handed from the picture loaders to the texture manager: rows of `width`
// pixels without gaps, each pixel red, green, blue (and alpha when `alpha` is set), one byte per
// sample. Row 0 becomes the bottom row of a texture.

#include "src/values.h"

#include <cstdint>
#include <cstdio>

namespace VARKO {

class Image {
public:
    // Which accessor checks a pixel, and the report lines of its two faults.
    struct PixelCheck {
        const char* operation;
        int noImageLine;
        int rangeLine;
    };

    Image() = default;
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // A blank (uncleared) image of wid x hit pixels, RGBA when alp is set.
    bool Create(int wid, int hit, bool alp);

    // Picks the loader from the last three characters of the name (TGA, PCX, anything else).
    bool Load(const char* fname);
    bool LoadTGA(const char* fname);
    bool LoadPCX(const char* fname);
    bool LoadOther(const char* fname);

    bool InImage(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    // Wraps like 32-bit arithmetic for images past 2 GiB; the pixel accessors do not use it.
    int CalcPos(int x, int y) const {
        return static_cast<int>((std::int64_t(width) * y + x) * bytesPerPixel);
    }

    void SetPixel(int x, int y, const Colour& col);
    void SetPixel(int x, int y, const ColourAlpha& col);
    Colour GetPixel(int x, int y);
    ColourAlpha GetPixelAlpha(int x, int y);

    bool HasAlpha() const { return alpha; }
    void GetDimensions(int& wid, int& hit) const {
        wid = width;
        hit = height;
    }
    unsigned char* GetImage() const { return pixels; }

private:
    void Release();
    // The pixel's address; computed in 64 bits because CalcPos overflows past 2 GiB.
    unsigned char* PixelAt(int x, int y) const;
    unsigned char* CheckedPixel(int x, int y, const PixelCheck& check) const;

    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    bool alpha = false;
};

// The file decoders behind Image::LoadTGA and Image::LoadPCX. `bits` receives a buffer made with
// new[]; after a failure it is null.
bool LoadTGA(const char* filename, int& width, int& height, bool& alpha, unsigned char** bits);
bool LoadUncompressedTGA(std::FILE* fTGA, int& width, int& height, bool& alpha,
                         unsigned char** bits);
bool LoadCompressedTGA(std::FILE* fTGA, int& width, int& height, bool& alpha, unsigned char** bits);
bool LoadPCX(const char* filename, int& width, int& height, unsigned char** bits);

// Copies palette entry `index` (three bytes, red, green, blue) to `pos`.
void SetPixel(int index, const unsigned char* palette, unsigned char* pos);

} // namespace VARKO
