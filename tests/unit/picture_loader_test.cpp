#include "src/picture_loader.h"

#include "src/image.h"
#include "tests/support/gl_fake.h"
#include "tests/support/platform_fake.h"
#include "tests/support/support_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace VARKO {
namespace {

namespace Fake = Testing::FakePlatform;
namespace GL = Testing::GL;
using Bytes = std::vector<unsigned char>;

Bytes ReadFixture(const std::string& name) {
    std::ifstream in(Testing::SourcePath("tests/fixtures/" + name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Platform::Picture Solid(int width, int height, const Bytes& rgba) {
    Platform::Picture picture{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        picture.rgba.insert(picture.rgba.end(), rgba.begin(), rgba.end());
    }
    return picture;
}

class PictureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fake::Reset();
        GL::Reset();
    }

    // Loads the picture through Image::Load and returns the image's RGB bytes.
    Bytes Load(const Platform::Picture& picture) {
        Fake::ScriptPicture("picture.jpg", picture);
        if (!image.Load("picture.jpg")) {
            return {};
        }
        image.GetDimensions(width, height);
        EXPECT_FALSE(image.HasAlpha());
        return Bytes(image.GetImage(), image.GetImage() + width * height * 3);
    }

    std::pair<int, int> SizeOf(int pictureWidth, int pictureHeight) {
        Load(Solid(pictureWidth, pictureHeight, {1, 2, 3, 255}));
        return {width, height};
    }

    Image image;
    int width = 0, height = 0;
};

TEST(RoundToPowerOfTwo, RoundsOnALogarithmicScaleWithinTheLimit) {
    const std::pair<int, int> cases[] = {
        {1, 1},     {3, 4},     {5, 4},      {181, 128},  {182, 256},           {362, 256},
        {363, 512}, {640, 512}, {725, 1024}, {800, 1024}, {0x7FFFFFFF, 1 << 30}};
    for (auto [dimension, expected] : cases) {
        EXPECT_EQ(RoundToPowerOfTwo(dimension), expected) << dimension;
    }
    EXPECT_EQ(TextureSize(2000, 512), 512);
    EXPECT_EQ(TextureSize(2990, 3000), 2048); // a limit that is no power of two
    EXPECT_EQ(TextureSize(5000, 0), 4096);    // no limit known
}

TEST_F(PictureLoaderTest, SizesRoundToPowersOfTwoCappedByGL) {
    EXPECT_EQ(SizeOf(640, 480), std::make_pair(512, 512));
    EXPECT_EQ(SizeOf(800, 600), std::make_pair(1024, 512));
    EXPECT_EQ(SizeOf(256, 256), std::make_pair(256, 256));
    GL::SetMaxTextureSize(512);
    EXPECT_EQ(SizeOf(2000, 100), std::make_pair(512, 128));
    EXPECT_EQ(GL::CallTexts("glGetIntegerv").back(), "glGetIntegerv(GL_MAX_TEXTURE_SIZE)");
    EXPECT_TRUE(Fake::Messages().empty());
}

TEST_F(PictureLoaderTest, RowsAreStoredBottomFirstAndTransparencyOverBlack) {
    EXPECT_EQ(Load({2, 2, {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255}}),
              (Bytes{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Load({2, 1, {200, 100, 50, 0, 200, 100, 50, 51}}), (Bytes{0, 0, 0, 40, 20, 10}));
}

TEST_F(PictureLoaderTest, ResamplingKeepsASolidColourExact) {
    const Bytes pixels = Load(Solid(45, 3, {10, 200, 77, 255})); // shrinks across, grows down
    ASSERT_EQ(pixels.size(), 32u * 4 * 3);
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        ASSERT_EQ(Bytes(pixels.begin() + i, pixels.begin() + i + 3), (Bytes{10, 200, 77})) << i;
    }
}

TEST_F(PictureLoaderTest, ResamplesLikeImageMagick) {
    // Its triangle filter when enlarging, its pixel averaging when reducing.
    const std::tuple<const char*, int, int, const char*> ramps[] = {
        {"ramp12x6.rgba", 12, 6, "ramp12x6_16x8.rgb"},
        {"ramp40x20.rgba", 40, 20, "ramp40x20_32x16.rgb"}};
    for (auto [source, sourceWidth, sourceHeight, reference] : ramps) {
        const Bytes actual = Load({sourceWidth, sourceHeight, ReadFixture(source)});
        const Bytes expected = ReadFixture(reference);
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i) {
            ASSERT_LE(std::abs(actual[i] - expected[i]), 1) << source << " byte " << i;
        }
    }
}

TEST_F(PictureLoaderTest, FailuresAreSilentAndLeaveNoBuffer) {
    Fake::ScriptPicture("empty.png", {0, 5, {}});
    Fake::ScriptPicture("short.png", {2, 2, Bytes(15, 0)});
    for (const char* name : {"missing.jpg", "empty.png", "short.png"}) {
        image.Create(1, 1, true);
        EXPECT_FALSE(image.Load(name)) << name;
        EXPECT_EQ(image.GetImage(), nullptr) << name;
    }
    EXPECT_TRUE(Fake::Messages().empty());
}

} // namespace
} // namespace VARKO
