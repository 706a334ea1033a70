#include "src/image.h"

#include "tests/support/platform_fake.h"
#include "tests/support/support_files.h"
#include "tests/support/support_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace VARKO {
namespace {

namespace Fake = Testing::FakePlatform;
using Testing::Bytes;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Tga(int type, int width, int height, int depth, const Bytes& data = {}) {
    Bytes file(18, 0);
    file[2] = static_cast<unsigned char>(type);
    file[12] = static_cast<unsigned char>(width & 255),
    file[13] = static_cast<unsigned char>(width >> 8);
    file[14] = static_cast<unsigned char>(height & 255),
    file[15] = static_cast<unsigned char>(height >> 8);
    file[16] = static_cast<unsigned char>(depth);
    std::copy(data.begin(), data.end(), std::back_inserter(file));
    return file;
}

Bytes Pixels(const Image& image) {
    int width = 0, height = 0;
    image.GetDimensions(width, height);
    return Bytes(image.GetImage(), image.GetImage() + width * height * (image.HasAlpha() ? 4 : 3));
}

class TgaTest : public ::testing::Test {
protected:
    void SetUp() override { Fake::Reset(); }
    Image image;
};

TEST_F(TgaTest, FixturesDecodeToTheirReferenceBytes) {
    const std::pair<const char*, const char*> files[] = {{"rgb24.tga", "pattern.rgb"},
                                                         {"rgb24_rle.tga", "pattern.rgb"},
                                                         {"rgba32.tga", "pattern_alpha.rgba"},
                                                         {"rgba32_rle.tga", "pattern_alpha.rgba"}};
    for (auto [file, reference] : files) {
        ASSERT_TRUE(image.Load(Testing::SourcePath("tests/fixtures/" + std::string(file)).c_str()));
        EXPECT_EQ(Pixels(image), Testing::ReadBytes(Testing::SourcePath("tests/fixtures/" +
                                                                        std::string(reference))))
            << file;
        EXPECT_EQ(image.HasAlpha(), std::string(reference).ends_with("rgba"));
    }
    EXPECT_TRUE(Fake::Messages().empty());
}

TEST_F(TgaTest, RawAndRunPacketsDecodeLikeUncompressedData) {
    const Bytes blueGreen = {0, 0, 0xFF, 0, 0xFF, 0}; // stored B, G, R
    const Bytes redGreen = {0xFF, 0, 0, 0, 0xFF, 0};
    ASSERT_TRUE(image.Load(
        Testing::WriteTempFile("picture.tga", Tga(2, 2, 1, 24, blueGreen + Bytes{7, 7})).c_str()));
    EXPECT_EQ(Pixels(image), redGreen); // trailing bytes are ignored
    ASSERT_TRUE(image.Load(
        Testing::WriteTempFile("picture.tga", Tga(10, 2, 1, 24, Bytes{0x01} + blueGreen)).c_str()));
    EXPECT_EQ(Pixels(image), redGreen);
    ASSERT_TRUE(image.Load(
        Testing::WriteTempFile("picture.tga", Tga(10, 2, 1, 24, {0x81, 0, 0, 0xFF, 0xFF}))
            .c_str()));
    EXPECT_EQ(Pixels(image), (Bytes{0xFF, 0, 0, 0xFF, 0, 0}));
}

TEST_F(TgaTest, PacketsCrossRowEnds) {
    // 3 x 2 at 32 bits: a run of four, then a raw packet of two.
    ASSERT_TRUE(image.Load(
        Testing::WriteTempFile(
            "picture.tga", Tga(10, 3, 2, 32, {0x83, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 10, 11, 12}))
            .c_str()));
    EXPECT_EQ(Pixels(image),
              (Bytes{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12}));
}

struct Failure {
    const char* what;
    Bytes file;
    const char* text;
    const char* caption = "ERROR";
};

class TgaFailureTest : public TgaTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(TgaFailureTest, ShowsWhyAndLeavesNoBuffer) {
    ASSERT_TRUE(image.Create(2, 2, true));
    EXPECT_FALSE(image.Load(Testing::WriteTempFile("picture.tga", GetParam().file).c_str()));
    EXPECT_EQ(image.GetImage(), nullptr);
    ASSERT_EQ(Fake::Messages().size(), 1u);
    EXPECT_EQ(Fake::Messages()[0].text, GetParam().text);
    EXPECT_EQ(Fake::Messages()[0].caption, GetParam().caption);
}

Bytes With(Bytes bytes, std::size_t at, unsigned char value) {
    bytes[at] = value;
    return bytes;
}

const char* const kWrongType = "TGA file be type 2 or type 10 ";
const Bytes kType2 = Tga(2, 2, 1, 24);
const Bytes kType10 = Tga(10, 2, 1, 24);

INSTANTIATE_TEST_SUITE_P(
    Files, TgaFailureTest,
    ::testing::Values(
        Failure{"ElevenBytes", Bytes(kType2.begin(), kType2.begin() + 11),
                "Could not read file header"},
        Failure{"ImageId", With(kType2, 0, 1), kWrongType, "Invalid Image"},
        Failure{"ColourMap", With(kType2, 1, 1), kWrongType, "Invalid Image"},
        Failure{"XOrigin", With(kType10, 8, 1), kWrongType, "Invalid Image"},
        Failure{"Grey", With(kType2, 2, 3), kWrongType, "Invalid Image"},
        Failure{"NoInfoHeader", Bytes(kType2.begin(), kType2.begin() + 12),
                "Could not read info header"},
        Failure{"ZeroWidth", Tga(2, 0, 1, 24), "Invalid texture information"},
        Failure{"Depth16", Tga(10, 1, 1, 16, {0, 0}), "Invalid texture information"},
        Failure{"Type2HeaderOnly", kType2, "Could not read image data"},
        Failure{"Type2OneByteShort", Tga(2, 2, 1, 24, {0, 0, 0xFF, 0, 0xFF}),
                "Could not read image data"},
        Failure{"Type10HeaderOnly", kType10, "Could not read RLE header"},
        Failure{"RawPixelIncomplete", Tga(10, 2, 1, 24, {0x01, 1, 2, 3, 4, 5}),
                "Could not read image data"},
        Failure{"RunPixelIncomplete", Tga(10, 2, 1, 24, {0x81, 1, 2}), "Could not read from file"},
        Failure{"TooManyPixels", Tga(10, 2, 1, 24, {0x00, 1, 2, 3, 0x81, 1, 2, 3}),
                "Too many pixels read"},
        // 65535 x 65535 x 32 bits is 16 GiB: these fail on the missing data, not on memory.
        Failure{"HugeUncompressed", Tga(2, 65535, 65535, 32, Bytes(64, 0)),
                "Could not read image data"},
        Failure{"HugeCompressed", Tga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4}),
                "Could not read RLE header"}),
    [](const auto& info) { return info.param.what; });

TEST_F(TgaTest, AMissingFileCannotBeOpened) {
    EXPECT_FALSE(image.Load((Testing::MakeTempDir() + "/missing.tga").c_str()));
    ASSERT_EQ(Fake::Messages().size(), 1u);
    EXPECT_EQ(Fake::Messages()[0].text, "Could not open texture file");
}

} // namespace
} // namespace VARKO
