#include "src/text.h"

#include "tests/support/gl_fake.h"
#include "tests/support/platform_fake.h"
#include "tests/support/support_files.h"

#include <gtest/gtest.h>

#include <climits>

namespace GL = VARKO::Testing::GL;
namespace Fake = VARKO::Testing::FakePlatform;
using Texts = std::vector<std::string>;

namespace {

VARKO::TextType Type(int size, bool bold) {
    VARKO::TextType type;
    type.font = "Viner Hand ITC";
    type.size = size;
    type.bold = bold;
    type.depth = 0.2f;
    return type;
}

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        GL::Reset();
        Fake::Reset();
        GL::SetGenListsResult(100);
        text.Setup(&gl, Type(20, true));
        GL::ClearLog();
    }

    VARKO::OpenGL gl;
    VARKO::Text2D text;
};

} // namespace

TEST_F(TextTest, SetupBuildsTheNinetySixCharactersFromTheRequestedFont) {
    EXPECT_EQ(text.base, 100u);
    ASSERT_EQ(Fake::GlyphRequests().size(), 1u);
    const Fake::GlyphRequest& asked = Fake::GlyphRequests()[0];
    EXPECT_EQ(asked.font.face, "Viner Hand ITC");
    EXPECT_EQ(asked.font.height, 20);
    EXPECT_EQ(asked.font.weight, 700);
    EXPECT_EQ(asked.first, 32);
    EXPECT_EQ(asked.count, 96);
    EXPECT_EQ(asked.base, 100u);

    VARKO::Text2D regular;
    regular.Setup(&gl, Type(20, false));
    EXPECT_EQ(Fake::GlyphRequests().back().font.weight, 400);
}

TEST_F(TextTest, EmptyStringCallsNoListsInsideTheListBaseSave) {
    text.Write("");
    EXPECT_EQ(GL::CallTexts(), (Texts{"glPushAttrib(GL_LIST_BIT)", "glListBase(68)",
                                      "glCallLists(0, GL_UNSIGNED_BYTE)", "glPopAttrib()"}));
}

TEST_F(TextTest, ChainedOutputContinuesWithTheDigits) {
    text << "FPS: " << 60;
    EXPECT_EQ(GL::CallTexts("glCallLists"),
              (Texts{"glCallLists(5, GL_UNSIGNED_BYTE, 70, 80, 83, 58, 32)",
                     "glCallLists(2, GL_UNSIGNED_BYTE, 54, 48)"}));
}

TEST_F(TextTest, NumbersAreWrittenInFullDecimal) {
    text << -5 << 0 << INT_MAX << INT_MIN;
    EXPECT_EQ(
        GL::CallTexts("glCallLists"),
        (Texts{"glCallLists(2, GL_UNSIGNED_BYTE, 45, 53)", "glCallLists(1, GL_UNSIGNED_BYTE, 48)",
               "glCallLists(10, GL_UNSIGNED_BYTE, 50, 49, 52, 55, 52, 56, 51, 54, 52, 55)",
               "glCallLists(11, GL_UNSIGNED_BYTE, 45, 50, 49, 52, 55, 52, 56, 51, 54, 52, 56)"}));
}

// Codes outside 32..127 would run lists that belong to other owners.
TEST_F(TextTest, CharactersOutsideTheRangeAreLeftOut) {
    text.Write("a\nb\x7f\xe9");
    EXPECT_EQ(GL::CallTexts("glCallLists"),
              (Texts{"glCallLists(3, GL_UNSIGNED_BYTE, 97, 98, 127)"}));
}

TEST_F(TextTest, ClearDeletesTheRangeOnceAndLeavesWriteWithoutLists) {
    text.Clear();
    text.Clear();
    EXPECT_EQ(GL::CallTexts(), (Texts{"glDeleteLists(100, 96)"}));
    EXPECT_EQ(text.base, 0u);
    GL::ClearLog();
    text << "x";
    EXPECT_TRUE(GL::NoGLCalls());
}

TEST_F(TextTest, FailedListRangeBuildsNoGlyphs) {
    GL::SetGenListsResult(0);
    VARKO::Text3D outline;
    outline.Setup(&gl, Type(20, false));
    EXPECT_EQ(outline.base, 0u);
    EXPECT_EQ(Fake::GlyphRequests().size(), 1u);
    EXPECT_EQ(outline.avgwidth, 0.0f);
}

TEST_F(TextTest, OutlineSetupPassesTheDepthAndAveragesTheAdvances) {
    VARKO::Text3D outline;
    outline.Setup(&gl, Type(20, false));
    EXPECT_EQ(Fake::GlyphRequests().back().depth, 0.2f);
    EXPECT_EQ(Fake::GlyphRequests().back().first, 32);
    EXPECT_EQ(Fake::GlyphRequests().back().count, 96);
    EXPECT_FLOAT_EQ(outline.avgwidth, 0.5f);
    GL::ClearLog();
    outline << 7;
    EXPECT_EQ(GL::CallTexts("glCallLists"), (Texts{"glCallLists(1, GL_UNSIGNED_BYTE, 55)"}));
}

TEST_F(TextTest, NullWindowThrowsBeforeAnyGLCall) {
    VARKO::Text2D bitmap;
    VARKO::Text3D outline;
    VARKO::Testing::ExpectLumoException([&] { bitmap.Setup(nullptr, Type(20, true)); },
                                        "Text2D :: Setup - NULL pointer passed.", ".\\src\\text");
    VARKO::Testing::ExpectLumoException([&] { outline.Setup(nullptr, Type(20, true)); },
                                        "Text3D :: Setup - NULL pointer passed.", ".\\src\\text");
    EXPECT_TRUE(GL::NoGLCalls());
    EXPECT_EQ(bitmap.base, 0u);
}
