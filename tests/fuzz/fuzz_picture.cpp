// The general loader's fitting and resampling behind a scripted decode. Input layout: a flags
// byte (bit 0: keep the pixel bytes as they come, so their count may not match the size), width
// and height as 16-bit values, the exponent of the largest texture size (0: none), then pixels.

#include "src/image.h"
#include "tests/support/gl_fake.h"
#include "tests/support/platform_fake.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kHeader = 6;
constexpr int kLargestSide = 300; // keeps one run fast

bool IsPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeader) {
        return 0;
    }
    namespace Fake = VARKO::Testing::FakePlatform;
    Fake::Reset();
    VARKO::Testing::GL::Reset();
    VARKO::Platform::Picture picture;
    picture.width = (data[1] | data[2] << 8) % kLargestSide;
    picture.height = (data[3] | data[4] << 8) % kLargestSide;
    const int exponent = data[5] % 16;
    const int largest = exponent == 0 ? 0 : 1 << exponent;
    VARKO::Testing::GL::SetMaxTextureSize(largest);
    picture.rgba.assign(data + kHeader, data + size);
    if ((data[0] & 1) == 0) {
        picture.rgba.resize(std::size_t(picture.width) * picture.height * 4, 0x80);
    }
    Fake::ScriptPicture("fuzz.jpg", picture);

    VARKO::Image image;
    const bool loaded = image.Load("fuzz.jpg");
    int width = 0, height = 0;
    image.GetDimensions(width, height);
    const bool fits = largest == 0 || (width <= largest && height <= largest);
    if (loaded != (image.GetImage() != nullptr) || image.HasAlpha() || !Fake::Messages().empty() ||
        (loaded && (!IsPowerOfTwo(width) || !IsPowerOfTwo(height) || !fits))) {
        __builtin_trap();
    }
    return 0;
}
