// PCX decoder: version 5, run-length encoded, one byte-sized palette index per pixel, with the
// 256-colour palette at the end of the file. Fails silently: the caller only gets false.
//
// Rows are decoded `bytesPerLine` indices long (writers pad odd widths to an even count) and the
// first `width` of each are kept; reading rows as exactly `width` long would skew every row of a
// padded file. Data that ends (at the palette marker) before the last pixel fails the load;
// indices that run past the last pixel are dropped.

#include "src/image.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace VARKO {

// The header fields this decoder reads; 16-bit values are little-endian in the file.
struct PCXHeader {
    unsigned char manufacturer;
    unsigned char version;
    unsigned char encoding;
    std::uint16_t xMin;
    std::uint16_t yMin;
    std::uint16_t xMax;
    std::uint16_t yMax;
    std::uint16_t bytesPerLine;
};

namespace {

constexpr long kHeaderSize = 128;
constexpr long kPaletteSize = 768;
constexpr int kPaletteMarker = 12;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::uint16_t Word(const unsigned char* at) {
    return std::uint16_t(at[0] | at[1] << 8);
}

PCXHeader ParseHeader(const unsigned char* raw) {
    return PCXHeader{raw[0],        raw[1],        raw[2],         Word(raw + 4),
                     Word(raw + 6), Word(raw + 8), Word(raw + 10), Word(raw + 66)};
}

// The encoded bytes between the header and the palette marker.
class EncodedStream {
public:
    EncodedStream(std::FILE* file, long length) : file(file), left(length) {}
    // The next byte, or -1 when the data is used up.
    int Next() {
        if (left <= 0) {
            return -1;
        }
        --left;
        const int byte = std::fgetc(file);
        return byte == EOF ? -1 : byte;
    }
    // The most indices the remaining bytes can hold: two bytes make a run of up to 63.
    std::uint64_t MostIndices() const { return std::uint64_t(left) / 2 * 63 + left % 2; }

private:
    std::FILE* file;
    long left;
};

// Writes decoded indices row by row, skipping each row's padding.
class RowWriter {
public:
    RowWriter(unsigned char* out, int width, int height, int rowLength,
              const unsigned char* palette)
        : out(out), width(width), rowLength(rowLength), palette(palette),
          pixelsLeft(std::uint64_t(width) * height) {}
    bool Done() const { return pixelsLeft == 0; }
    void Write(int index) {
        if (column < width) {
            SetPixel(index, palette, out);
            out += 3;
            --pixelsLeft;
        }
        if (++column == rowLength) {
            column = 0;
        }
    }

private:
    unsigned char* out;
    int width;
    int rowLength;
    const unsigned char* palette;
    std::uint64_t pixelsLeft;
    int column = 0;
};

bool Decode(EncodedStream& stream, RowWriter& writer) {
    while (!writer.Done()) {
        const int byte = stream.Next();
        if (byte < 0) {
            return false;
        }
        int count = 1;
        int index = byte;
        if (byte >= 192) {
            count = byte & 63;
            index = stream.Next();
            if (index < 0) {
                return false;
            }
        }
        for (; count > 0 && !writer.Done(); --count) {
            writer.Write(index);
        }
    }
    return true;
}

} // namespace

void SetPixel(int index, const unsigned char* palette, unsigned char* pos) {
    const unsigned char* entry = palette + index * 3;
    pos[0] = entry[0];
    pos[1] = entry[1];
    pos[2] = entry[2];
}

bool LoadPCX(const char* filename, int& width, int& height, unsigned char** bits) {
    *bits = nullptr;
    const File file(filename != nullptr ? std::fopen(filename, "rb") : nullptr);
    if (!file || std::fseek(file.get(), -(kPaletteSize + 1), SEEK_END) != 0) {
        return false;
    }
    const long markerAt = std::ftell(file.get());
    unsigned char palette[kPaletteSize];
    if (std::fgetc(file.get()) != kPaletteMarker ||
        std::fread(palette, 1, kPaletteSize, file.get()) != kPaletteSize) {
        return false;
    }
    unsigned char raw[kHeaderSize];
    if (std::fseek(file.get(), 0, SEEK_SET) != 0 ||
        std::fread(raw, 1, kHeaderSize, file.get()) != kHeaderSize) {
        return false;
    }
    const PCXHeader header = ParseHeader(raw);
    if (header.manufacturer != 10 || header.version != 5 || header.encoding != 1) {
        return false;
    }
    width = header.xMax - header.xMin + 1;
    height = header.yMax - header.yMin + 1;
    if (width <= 0 || height <= 0) {
        return false;
    }
    const int rowLength = header.bytesPerLine > width ? header.bytesPerLine : width;
    EncodedStream stream(file.get(), std::max(0L, markerAt - kHeaderSize));
    // Don't allocate for a picture the data cannot fill.
    const std::uint64_t needed = std::uint64_t(rowLength) * (height - 1) + width;
    const std::uint64_t size = std::uint64_t(width) * height * 3;
    if (needed > stream.MostIndices() || size > std::numeric_limits<std::size_t>::max()) {
        return false;
    }
    std::unique_ptr<unsigned char[]> pixels(new (std::nothrow) unsigned char[size]);
    if (!pixels) {
        return false;
    }
    RowWriter writer(pixels.get(), width, height, rowLength, palette);
    if (!Decode(stream, writer)) {
        return false;
    }
    *bits = pixels.release();
    return true;
}

bool Image::LoadPCX(const char* fname) {
    Release();
    alpha = false;
    bytesPerPixel = 3;
    return VARKO::LoadPCX(fname, width, height, &pixels);
}

} // namespace VARKO
