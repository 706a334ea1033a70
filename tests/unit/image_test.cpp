#include "src/image.h"

#include "src/exception.h"
#include "tests/support/platform_fake.h"

#include "tests/support/support_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace VARKO {
namespace {

namespace Fake = Testing::FakePlatform;
using Testing::Bytes;

void ExpectThrows(const std::function<void()>& action, const std::string& message) {
    Testing::ExpectLumoException(action, message, ".\\src\\image");
}

Bytes Head(const Image& image, int count) {
    return Bytes(image.GetImage(), image.GetImage() + count);
}

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { Fake::Reset(); }
    Image image;
};

TEST_F(ImageTest, CreateSizesTheBufferByAlpha) {
    ASSERT_TRUE(image.Create(4, 2, true));
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.CalcPos(3, 1), 28);
    ASSERT_TRUE(image.Create(4, 2, false));
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_EQ(image.CalcPos(1, 1), 15);
    EXPECT_FALSE(image.Create(-1, 2, false));
    EXPECT_EQ(image.GetImage(), nullptr);
}

TEST_F(ImageTest, TheMissingBufferIsReportedBeforeTheRange) {
    ExpectThrows([&] { image.SetPixel(99, -5, Colour(0, 0, 0)); },
                 "Image :: SetPixel - No image set up.");
    ExpectThrows([&] { image.SetPixel(0, 0, ColourAlpha(0, 0, 0)); },
                 "Image :: SetPixel - No image set up.");
    ExpectThrows([&] { image.GetPixel(0, 0); }, "Image :: GetPixel - No image set up.");
    ExpectThrows([&] { image.GetPixelAlpha(-1, 0); }, "Image :: GetPixel - No image set up.");
}

TEST_F(ImageTest, CoordinatesOutsideTheImageThrow) {
    ASSERT_TRUE(image.Create(4, 2, false));
    for (auto [x, y] : {std::pair{4, 0}, {-1, 0}, {0, 2}, {0, -1}}) {
        ExpectThrows([&] { image.SetPixel(x, y, Colour(1, 1, 1)); },
                     "Image :: SetPixel - Coordinates out of range.");
        ExpectThrows([&] { image.SetPixel(x, y, ColourAlpha(1, 1, 1)); },
                     "Image :: SetPixel - Coordinates out of range.");
        ExpectThrows([&] { image.GetPixel(x, y); },
                     "Image :: GetPixel - Coordinates out of range.");
        ExpectThrows([&] { image.GetPixelAlpha(x, y); },
                     "Image :: GetPixel - Coordinates out of range.");
    }
    EXPECT_NO_THROW(image.SetPixel(3, 1, Colour(1, 1, 1)));
}

TEST_F(ImageTest, SetPixelTruncatesTimes255AndClamps) {
    ASSERT_TRUE(image.Create(3, 1, true));
    image.SetPixel(0, 0, Colour(1.0f, 0.5f, 0.0f));
    image.SetPixel(1, 0, ColourAlpha(0, 0, 0, 0.5f));
    image.SetPixel(2, 0, ColourAlpha(2.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f));
    EXPECT_EQ(Head(image, 12), (Bytes{255, 127, 0, 255, 0, 0, 0, 127, 255, 0, 0, 255}));

    ASSERT_TRUE(image.Create(2, 1, false));
    image.SetPixel(1, 0, Colour(0, 0, 0));
    image.SetPixel(0, 0, ColourAlpha(1, 1, 1, 0)); // three bytes only: pixel 1 stays black
    EXPECT_EQ(Head(image, 6), (Bytes{255, 255, 255, 0, 0, 0}));
}

TEST_F(ImageTest, GetPixelDividesBy256) {
    ASSERT_TRUE(image.Create(1, 1, true));
    unsigned char* pixel = image.GetImage();
    pixel[0] = 255, pixel[1] = 128, pixel[2] = 0, pixel[3] = 64;
    const ColourAlpha c = image.GetPixelAlpha(0, 0);
    EXPECT_EQ(std::vector<float>({c.r, c.g, c.b, c.a}),
              std::vector<float>({0.99609375f, 0.5f, 0.0f, 0.25f}));
    ASSERT_TRUE(image.Create(1, 1, false));
    EXPECT_EQ(image.GetPixelAlpha(0, 0).a, 1.0f);
}

TEST_F(ImageTest, LoadEmptiesTheImageUnlessTheNameIsNull) {
    ASSERT_TRUE(image.Create(1, 1, false));
    EXPECT_FALSE(image.Load(nullptr));
    EXPECT_NE(image.GetImage(), nullptr);
    EXPECT_FALSE(image.Load("no-such-picture.jpg"));
    EXPECT_EQ(image.GetImage(), nullptr);
}

// The TGA loader is the one that speaks up; the general loader the one that asks the platform.
struct Dispatch {
    const char* name;
    bool tga, general;
};

class LoadDispatchTest : public ImageTest, public ::testing::WithParamInterface<Dispatch> {};

TEST_P(LoadDispatchTest, TheLastThreeCharactersPickTheLoader) {
    EXPECT_FALSE(image.Load(GetParam().name));
    EXPECT_EQ(Fake::Messages().size(), GetParam().tga ? 1u : 0u);
    EXPECT_EQ(Fake::CountLog("DecodePicture"), GetParam().general ? 1u : 0u);
}

// "xTGA" from its third character: a test that looks before the start would see "TGA".
const char kShortName[] = "xTGA";

INSTANTIATE_TEST_SUITE_P(
    Names, LoadDispatchTest,
    ::testing::Values(Dispatch{"none/picture.tga", true, false},
                      Dispatch{"none/PICTURE.TGA", true, false},
                      Dispatch{"none/mytga", true, false}, Dispatch{"none/a.Pcx", false, false},
                      Dispatch{"none/a.jpeg", false, true}, Dispatch{"none/a.tga.bmp", false, true},
                      Dispatch{kShortName + 2, false, true}, Dispatch{"", false, true}));

} // namespace
} // namespace VARKO

namespace VARKO {
namespace {

int ThrownLine(const std::function<void()>& action) {
    try {
        action();
    } catch (const LumoException& e) {
        return e.GetLine();
    }
    return 0;
}

TEST(ImageReport, EachFaultReportsItsKnownLine) {
    Image image;
    EXPECT_EQ(ThrownLine([&] { image.SetPixel(0, 0, Colour(0, 0, 0)); }), 258);
    EXPECT_EQ(ThrownLine([&] { image.SetPixel(0, 0, ColourAlpha(0, 0, 0)); }), 285);
    EXPECT_EQ(ThrownLine([&] { image.GetPixel(0, 0); }), 312);
    EXPECT_EQ(ThrownLine([&] { image.GetPixelAlpha(0, 0); }), 332);
    ASSERT_TRUE(image.Create(1, 1, false));
    EXPECT_EQ(ThrownLine([&] { image.SetPixel(1, 0, Colour(0, 0, 0)); }), 262);
    EXPECT_EQ(ThrownLine([&] { image.SetPixel(0, 1, ColourAlpha(0, 0, 0)); }), 289);
    EXPECT_EQ(ThrownLine([&] { image.GetPixel(-1, 0); }), 316);
    EXPECT_EQ(ThrownLine([&] { image.GetPixelAlpha(0, -1); }), 336);
}

} // namespace
} // namespace VARKO
