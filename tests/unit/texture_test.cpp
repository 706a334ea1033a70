#include "src/texture.h"

#include "src/exception.h"
#include "src/image.h"
#include "tests/support/gl_fake.h"
#include "tests/support/platform_fake.h"
#include "tests/support/support_files.h"
#include "tests/support/support_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace VARKO {
namespace {

namespace Fake = Testing::FakePlatform;
namespace GL = Testing::GL;
using Testing::Bytes;

void ExpectThrows(const std::function<void()>& action, const std::string& message, int line = 0) {
    Testing::ExpectLumoException(action, message, ".\\src\\texture", line);
}

std::string Fixture(const std::string& name) {
    return Testing::SourcePath("tests/fixtures/" + name);
}

class TextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fake::Reset();
        GL::Reset();
        ASSERT_TRUE(image.Create(2, 2, false));
    }

    // A general picture that Load can find under this name.
    static void Script(const std::string& name, int width = 4, int height = 4) {
        Fake::ScriptPicture(name, {width, height, Bytes(std::size_t(width) * height * 4, 128)});
    }

    Texture textures;
    Image image;
};

TEST_F(TextureTest, LoadUploadsTheDecodedPixelsAsMipmaps) {
    const unsigned int id = textures.Load(Fixture("rgba32.tga"));
    EXPECT_TRUE(GL::CallsInOrder(
        {"glGenTextures(1)", "glBindTexture(GL_TEXTURE_2D, " + std::to_string(id) + ")",
         "gluBuild2DMipmaps(GL_TEXTURE_2D, 4, 7, 4, GL_RGBA, GL_UNSIGNED_BYTE)"}));
    EXPECT_EQ(GL::CountCalls("glPixelStorei"), 0u); // 28-byte rows suit GL's 4-byte alignment
    ASSERT_NE(GL::LastUpload(id), nullptr);
    EXPECT_EQ(GL::LastUpload(id)->pixels, Testing::ReadBytes(Fixture("pattern_alpha.rgba")));
    const TextureType info = textures.GetInfo(id);
    EXPECT_EQ(info.name, Fixture("rgba32.tga"));
    EXPECT_EQ(std::make_tuple(info.width, info.height, info.alpha, info.id),
              std::make_tuple(7, 4, true, id));
}

TEST_F(TextureTest, RgbRowsOfAnyLengthUploadWhole) {
    // 7 RGB pixels make 21-byte rows, which GL's default 4-byte alignment would misread.
    const unsigned int id = textures.Load(Fixture("rgb24.tga"));
    ASSERT_NE(GL::LastUpload(id), nullptr);
    EXPECT_EQ(GL::LastUpload(id)->pixels, Testing::ReadBytes(Fixture("pattern.rgb")));
    EXPECT_TRUE(
        GL::CallsInOrder({"glPixelStorei(GL_UNPACK_ALIGNMENT, 1)",
                          "gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 7, 4, GL_RGB, GL_UNSIGNED_BYTE)",
                          "glPixelStorei(GL_UNPACK_ALIGNMENT, 4)"}));
    EXPECT_FALSE(textures.GetInfo(id).alpha);
}

TEST_F(TextureTest, EachNameIsLoadedOnceAndComparedExactly) {
    const std::string path = Testing::MakeTempDir() + "/once.tga";
    std::filesystem::copy_file(Fixture("rgb24.tga"), path);
    const unsigned int id = textures.Load(path);
    std::remove(path.c_str());
    GL::ClearLog();
    EXPECT_EQ(textures.Load(path), id);
    EXPECT_TRUE(GL::NoGLCalls());
    EXPECT_TRUE(Fake::Messages().empty()); // the removed file was not opened again

    Script("data/bg.jpg", 640, 480);
    Script("DATA/BG.JPG");
    const unsigned int bg = textures.Load("data/bg.jpg");
    EXPECT_NE(textures.Load("DATA/BG.JPG"), bg);
    EXPECT_EQ(textures.GetInfo("data/bg.jpg").width, 512);
}

TEST_F(TextureTest, AFailedLoadAddsNothingAndIsTriedAgain) {
    EXPECT_EQ(textures.Load("data/late.jpg"), 0u);
    EXPECT_TRUE(GL::NoGLCalls());
    ExpectThrows([&] { textures.GetInfo("data/late.jpg"); },
                 "Texture :: GetInfo - No textures allocated.");
    Script("data/late.jpg");
    EXPECT_NE(textures.Load("data/late.jpg"), 0u);
}

TEST_F(TextureTest, EveryCreateMakesANewNamedTexture) {
    const unsigned int first = textures.Create(&image);
    const unsigned int second = textures.Create(&image);
    EXPECT_NE(first, second);
    EXPECT_EQ(textures.GetInfo(first).name, "LumoImage" + std::to_string(first));
    EXPECT_EQ(textures.GetInfo("LumoImage" + std::to_string(second)).id, second);
    ExpectThrows([&] { textures.Create(nullptr); }, "Texture :: Create - NULL pointer passed.",
                 112);
    Image empty;
    ExpectThrows([&] { textures.Create(&empty); }, "Texture :: Create - NULL pointer passed.");
}

TEST_F(TextureTest, SetSkipsOnlyARepeatOfWhatIsBound) {
    textures.Set(5);
    textures.Set(5);
    textures.Set(6);
    textures.Set(5);
    EXPECT_EQ(GL::CountCalls("glBindTexture"), 3u);

    // Load, Create, Delete and Reset change the binding behind Set's back.
    const unsigned int a = textures.Create(&image);
    textures.Set(a);
    const unsigned int b = textures.Create(&image);
    textures.Set(a);
    EXPECT_EQ(GL::BoundTexture(), a);
    textures.Set(b);
    textures.Delete(b);
    textures.Set(a);
    EXPECT_EQ(GL::BoundTexture(), a);
    Script("c.jpg");
    textures.Load("c.jpg");
    textures.Set(a);
    EXPECT_EQ(GL::BoundTexture(), a);
    textures.Reset();
    textures.Set(a);
    EXPECT_EQ(GL::BoundTexture(), a);
}

TEST_F(TextureTest, LookupsReportAnEmptyManagerBeforeAMissingKey) {
    ExpectThrows([&] { textures.GetInfo(7); }, "Texture :: GetInfo - No textures allocated.", 174);
    ExpectThrows([&] { textures.Delete(7); }, "Texture :: Delete - No textures allocated.", 213);
    ExpectThrows([&] { textures.Delete("a"); }, "Texture :: Delete - No textures allocated.", 233);
    const unsigned int id = textures.Create(&image);
    ExpectThrows([&] { textures.GetInfo(id + 1); }, "Texture :: GetInfo - Texture id not found.",
                 183);
    ExpectThrows([&] { textures.GetInfo("a"); }, "Texture :: GetInfo - Texture id not found.", 201);
    GL::ClearLog();
    textures.Delete(id + 1);
    textures.Delete("a");
    EXPECT_TRUE(GL::NoGLCalls());
    textures.Delete("LumoImage" + std::to_string(id));
    EXPECT_FALSE(GL::TextureExists(id));
    ExpectThrows([&] { textures.GetInfo(id); }, "Texture :: GetInfo - No textures allocated.");
}

TEST_F(TextureTest, ResetAndTheDestructorDeleteInCreationOrder) {
    GL::SetGenTexturesStart(7);
    {
        Texture scoped;
        scoped.Create(&image);
        scoped.Create(&image);
        GL::ClearLog();
    }
    EXPECT_EQ(GL::CallTexts("glDeleteTextures"),
              (std::vector<std::string>{"glDeleteTextures(1, 7)", "glDeleteTextures(1, 8)"}));
    GL::ClearLog();
    textures.Reset();
    EXPECT_TRUE(GL::NoGLCalls());
}

} // namespace
} // namespace VARKO
