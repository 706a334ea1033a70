// Image::LoadOther: any picture the platform can decode, fitted to a power-of-two size that the
// current GL context accepts as a texture. Fails silently.

#include "src/picture_loader.h"

#include "src/image.h"

#include "src/gl_api.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

namespace VARKO {

namespace {

constexpr int kLargestPowerOfTwo = 1 << 30;

int FloorPowerOfTwo(int value) {
    int power = 1;
    while (power <= value / 2) {
        power *= 2;
    }
    return power;
}

struct Tap {
    int index;
    float weight;
};
using AxisFilter = std::vector<std::vector<Tap>>;

// Shrinking averages every source sample the output sample covers (weighted by how much of it is
// covered); enlarging interpolates linearly between the two nearest source samples.
AxisFilter MakeAxisFilter(int in, int out) {
    AxisFilter filter(out);
    const double scale = double(in) / out;
    for (int o = 0; o < out; ++o) {
        if (out < in) {
            const double from = o * scale;
            const double to = (o + 1) * scale;
            for (int i = int(from); i < in && i < to; ++i) {
                const double covered = std::min<double>(i + 1, to) - std::max<double>(i, from);
                filter[o].push_back({i, float(covered / scale)});
            }
        } else {
            const double centre = std::max(0.0, (o + 0.5) * scale - 0.5);
            const int left = int(centre);
            const float right = float(centre - left);
            if (right > 0.0f && left + 1 < in) {
                filter[o].push_back({left, 1.0f - right});
                filter[o].push_back({left + 1, right});
            } else {
                filter[o].push_back({left, 1.0f});
            }
        }
    }
    return filter;
}

// One source row resampled across, premultiplied by its alpha (that is, drawn over black).
void ResampleRow(const Platform::Picture& picture, int y, const AxisFilter& across,
                 std::vector<float>& row) {
    const unsigned char* source = picture.rgba.data() + std::size_t(y) * picture.width * 4;
    for (std::size_t o = 0; o < across.size(); ++o) {
        float sum[3] = {0, 0, 0};
        for (const Tap& tap : across[o]) {
            const unsigned char* pixel = source + std::size_t(tap.index) * 4;
            const float weight = tap.weight * pixel[3] / 255.0f;
            for (int c = 0; c < 3; ++c) {
                sum[c] += weight * pixel[c];
            }
        }
        for (int c = 0; c < 3; ++c) {
            row[o * 3 + c] = sum[c];
        }
    }
}

unsigned char ToSample(float value) {
    return static_cast<unsigned char>(std::clamp(std::lround(value), 0L, 255L));
}

bool IsComplete(const Platform::Picture& picture) {
    return picture.width > 0 && picture.height > 0 &&
           picture.rgba.size() == std::uint64_t(picture.width) * picture.height * 4;
}

} // namespace

int RoundToPowerOfTwo(int dimension) {
    const int below = FloorPowerOfTwo(dimension);
    if (below == kLargestPowerOfTwo) {
        return below;
    }
    // The boundary between 2^k and 2^(k+1) is 2^k * sqrt(2): compare squares to stay exact.
    const std::uint64_t square = std::uint64_t(dimension) * std::uint64_t(dimension);
    return square >= 2 * std::uint64_t(below) * std::uint64_t(below) ? below * 2 : below;
}

int TextureSize(int dimension, int maxTextureSize) {
    const int rounded = RoundToPowerOfTwo(dimension);
    return maxTextureSize > 0 ? std::min(rounded, FloorPowerOfTwo(maxTextureSize)) : rounded;
}

void ResampleToRGB(const Platform::Picture& picture, int width, int height, unsigned char* out) {
    const AxisFilter across = MakeAxisFilter(picture.width, width);
    const AxisFilter down = MakeAxisFilter(picture.height, height);
    std::vector<float> row(std::size_t(width) * 3);
    std::vector<float> sum(row.size());
    for (int y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (const Tap& tap : down[y]) {
            ResampleRow(picture, tap.index, across, row);
            for (std::size_t i = 0; i < sum.size(); ++i) {
                sum[i] += tap.weight * row[i];
            }
        }
        unsigned char* target = out + std::size_t(height - 1 - y) * width * 3;
        std::transform(sum.begin(), sum.end(), target, ToSample);
    }
}

bool Image::LoadOther(const char* fname) {
    Release();
    Platform::Picture picture;
    if (fname == nullptr || !Platform::DecodePicture(fname, picture) || !IsComplete(picture)) {
        return false;
    }
    // Without a current context nothing answers; the picture is then only rounded.
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    width = TextureSize(picture.width, maxTextureSize);
    height = TextureSize(picture.height, maxTextureSize);
    alpha = false;
    bytesPerPixel = 3;
    // Running out of memory, for the pixels or the filter's rows, fails the load; nothing escapes.
    try {
        pixels = new unsigned char[std::size_t(width) * height * 3];
        ResampleToRGB(picture, width, height, pixels);
    } catch (const std::bad_alloc&) {
        Release();
        width = height = bytesPerPixel = 0;
        return false;
    }
    return true;
}

} // namespace VARKO
