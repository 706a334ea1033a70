#include "src/palette.h"

#include "src/opengl.h"
#include "tests/support/gl_fake.h"
#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace Fake = VARKO::Testing::FakePlatform;
using VARKO::Platform::PaletteEntry;
using VARKO::Platform::SurfaceFormatInfo;

namespace {

SurfaceFormatInfo Layout(int redBits, int redShift, int greenBits, int greenShift, int blueBits,
                         int blueShift) {
    SurfaceFormatInfo format;
    format.needsPalette = true;
    format.colorBits = 8;
    format.redBits = redBits;
    format.redShift = redShift;
    format.greenBits = greenBits;
    format.greenShift = greenShift;
    format.blueBits = blueBits;
    format.blueShift = blueShift;
    return format;
}

void ExpectEntry(const PaletteEntry& entry, int red, int green, int blue) {
    EXPECT_EQ(entry.red, red);
    EXPECT_EQ(entry.green, green);
    EXPECT_EQ(entry.blue, blue);
}

} // namespace

TEST(Palette, ComponentFromIndex) {
    EXPECT_EQ(VARKO::ComponentFromIndex(0xFF, 2, 6), 255);
    EXPECT_EQ(VARKO::ComponentFromIndex(0x40, 2, 6), 85);
    EXPECT_EQ(VARKO::ComponentFromIndex(5, 4, 0), 0);
    EXPECT_EQ(VARKO::ComponentFromIndex(0x2A, 3, 3), 182);
    EXPECT_EQ(VARKO::ComponentFromIndex(1, 1, 0), 255);
}

TEST(Palette, ThreeThreeTwoLayoutWithTheSystemColoursPatchedIn) {
    const PaletteEntry none[10] = {};
    VARKO::Palette palette = VARKO::BuildPalette(Layout(3, 0, 3, 3, 2, 6), none, none);
    ExpectEntry(palette[0], 0, 0, 0);
    ExpectEntry(palette[255], 255, 255, 255);
    ExpectEntry(palette[0x55], 182, 73, 85); // red 5, green 2, blue 1
    ExpectEntry(palette[3], 128, 0, 0);
    ExpectEntry(palette[91], 128, 128, 128);
}

TEST(Palette, OtherLayoutsGetSystemColoursAroundAColourCube) {
    PaletteEntry low[10], high[10];
    for (int i = 0; i < 10; ++i) {
        low[i] = {static_cast<unsigned char>(i), 1, 2, 0};
        high[i] = {static_cast<unsigned char>(246 + i), 3, 4, 0};
    }
    VARKO::Palette palette = VARKO::BuildPalette(Layout(2, 0, 3, 2, 3, 5), low, high);
    ExpectEntry(palette[9], 9, 1, 2);
    ExpectEntry(palette[10], 0, 0, 0);
    ExpectEntry(palette[11], 0, 0, 42);
    ExpectEntry(palette[225], 212, 212, 212);
    ExpectEntry(palette[246], 246, 3, 4);
    EXPECT_EQ(palette[11].flags, VARKO::Platform::kPaletteNoCollapse);
    for (int i = 227; i < 246; ++i) {
        EXPECT_EQ(palette[i].red, palette[i].green);
        EXPECT_GT(palette[i].red, palette[i - 1].red); // a rising grey ramp
    }
}

class PaletteWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fake::Reset();
        VARKO::Testing::GL::Reset();
    }
    VARKO::OpenGL gl;
};

TEST_F(PaletteWindowTest, EightBitWindowAsksForItsPaletteRightAfterTheFormat) {
    Fake::ScriptSurfaceFormat(Layout(3, 0, 3, 3, 2, 6));
    ASSERT_TRUE(gl.CreateGLWindow("T", 640, 480, 8, false));
    const auto& log = Fake::Log();
    auto set = std::find(log.begin(), log.end(), "SetSurfaceFormat");
    ASSERT_NE(set, log.end());
    EXPECT_EQ(*(set + 1), "DescribeSurfaceFormat");
    ASSERT_EQ(Fake::AppliedPalettes().size(), 1u);
    ExpectEntry(Fake::AppliedPalettes()[0][3], 128, 0, 0);
}

TEST_F(PaletteWindowTest, TrueColourOrDeeperWindowsMakeNoPalette) {
    ASSERT_TRUE(gl.CreateGLWindow("T", 640, 480, 8, false));
    EXPECT_EQ(Fake::CountLog("DescribeSurfaceFormat"), 1u);
    EXPECT_EQ(Fake::CountLog("ReadSystemPalette") + Fake::CountLog("ApplyPalette"), 0u);
    gl.KillGLWindow();
    Fake::ScriptSurfaceFormat(Layout(3, 0, 3, 3, 2, 6));
    ASSERT_TRUE(gl.CreateGLWindow("T", 640, 480, 16, false));
    EXPECT_EQ(Fake::CountLog("DescribeSurfaceFormat"), 1u);
}
