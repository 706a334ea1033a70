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

// Palette entry i is (i, 255 - i, i / 2), so every index has its own colour.
Bytes Colours(std::initializer_list<int> indices) {
    Bytes pixels;
    for (int i : indices) {
        pixels.push_back(static_cast<unsigned char>(i));
        pixels.push_back(static_cast<unsigned char>(255 - i));
        pixels.push_back(static_cast<unsigned char>(i / 2));
    }
    return pixels;
}

struct Pcx {
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0, bytesPerLine = 0, version = 5;
    Bytes data = {};
    int marker = 12;

    Bytes File() const {
        Bytes file(128, 0);
        file[0] = 10, file[1] = static_cast<unsigned char>(version), file[2] = 1, file[3] = 8;
        const int words[] = {xMin, yMin, xMax, yMax};
        for (int i = 0; i < 4; ++i) {
            file[4 + 2 * i] = words[i] & 255,
                         file[5 + 2 * i] = static_cast<unsigned char>(words[i] >> 8);
        }
        file[65] = 1, file[66] = static_cast<unsigned char>(bytesPerLine);
        std::copy(data.begin(), data.end(), std::back_inserter(file));
        file.push_back(static_cast<unsigned char>(marker));
        for (int i = 0; i < 256; ++i) {
            const Bytes colour = Colours({i});
            file.insert(file.end(), colour.begin(), colour.end());
        }
        return file;
    }
};

class PcxTest : public ::testing::Test {
protected:
    void SetUp() override { Fake::Reset(); }

    // The image held pixels before, so a failed load must drop them.
    Bytes Load(const Bytes& file) {
        image.Create(1, 1, true);
        if (!image.Load(Testing::WriteTempFile("picture.pcx", file).c_str())) {
            return {};
        }
        int width = 0, height = 0;
        image.GetDimensions(width, height);
        return Bytes(image.GetImage(), image.GetImage() + width * height * 3);
    }

    Image image;
};

TEST_F(PcxTest, FixturesWithAndWithoutRowPaddingDecodeAlike) {
    const Bytes reference = Testing::ReadBytes(Testing::SourcePath("tests/fixtures/pattern.rgb"));
    for (const char* file : {"pattern.pcx", "padded.pcx"}) {
        EXPECT_EQ(Load(Testing::ReadBytes(Testing::SourcePath("tests/fixtures/") + file)),
                  reference)
            << file;
        EXPECT_FALSE(image.HasAlpha());
    }
}

TEST_F(PcxTest, RunsAndSingleIndicesCrossRowEnds) {
    // 2 x 2 from (10, 20): C3 07 is colour 7 three times, C0 09 nothing, 05 colour 5 once.
    EXPECT_EQ(Load(Pcx{10, 20, 11, 21, 0, 5, {0xC3, 7, 0xC0, 9, 5}}.File()), Colours({7, 7, 7, 5}));
    int width = 0, height = 0;
    image.GetDimensions(width, height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(2, 2));
    EXPECT_TRUE(Fake::Messages().empty());
}

TEST_F(PcxTest, RowPaddingIsSkipped) {
    // 3 x 2 with 4 bytes per line: the fourth index of a row is padding, also inside a run; the
    // last row may leave its padding out.
    EXPECT_EQ(
        Load(Pcx{.xMax = 2, .yMax = 1, .bytesPerLine = 4, .data = {1, 2, 0xC2, 3, 4, 5, 6}}.File()),
        Colours({1, 2, 3, 4, 5, 6}));
    // Fewer bytes per line than pixels: rows are read as wide as the image.
    EXPECT_EQ(Load(Pcx{.xMax = 2, .yMax = 1, .bytesPerLine = 2, .data = {1, 2, 3, 4, 5, 6}}.File()),
              Colours({1, 2, 3, 4, 5, 6}));
}

TEST_F(PcxTest, ARunPastTheLastPixelIsCutOff) {
    EXPECT_EQ(Load(Pcx{.xMax = 1, .data = {4, 0xFF, 6}}.File()), Colours({4, 6}));
}

Bytes With(Bytes bytes, std::size_t at, unsigned char value) {
    bytes[at] = value;
    return bytes;
}

// 800 bytes: a valid 1 x 1 header whose byte 31 doubles as the palette marker.
Bytes PaletteInsideTheHeader() {
    Bytes file = With(Bytes(800, 0), 31, 12);
    file[0] = 10, file[1] = 5, file[2] = 1;
    return file;
}

TEST_F(PcxTest, BadFilesFailSilentlyAndLeaveNoBuffer) {
    const Bytes onePixel = Pcx{.data = {1}}.File();
    ASSERT_EQ(Load(onePixel), Colours({1}));
    const std::pair<const char*, Bytes> files[] = {
        {"empty", {}},
        {"marker", Pcx{.data = {1}, .marker = 11}.File()},
        {"version 3", Pcx{.version = 3, .data = {1}}.File()},
        {"manufacturer", With(onePixel, 0, 11)},
        {"encoding", With(onePixel, 2, 0)},
        {"shorter than the palette", Bytes(768, 12)},
        {"palette inside the header", PaletteInsideTheHeader()},
        {"max below min", Pcx{.xMin = 5, .xMax = 3, .data = {1}}.File()},
        {"no data", Pcx{.xMax = 1}.File()},
        {"data ends early", Pcx{.xMax = 3, .data = {1, 2, 3}}.File()},
        {"run without index", Pcx{.xMax = 3, .data = {1, 0xC3}}.File()},
        {"padding of a middle row missing",
         Pcx{.xMax = 1, .yMax = 1, .bytesPerLine = 3, .data = {1, 2, 3, 4}}.File()},
        // 65536 x 65536 would take 12 GiB; the few data bytes cannot fill it.
        {"huge", Pcx{.xMax = 65535, .yMax = 65535, .data = Bytes(100, 0xFF)}.File()}};
    for (const auto& [what, file] : files) {
        EXPECT_EQ(Load(file), Bytes()) << what;
        EXPECT_EQ(image.GetImage(), nullptr) << what;
    }
    EXPECT_TRUE(Fake::Messages().empty());
}

} // namespace
} // namespace VARKO
