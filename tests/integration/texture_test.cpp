// Pictures decoded by the real backend and uploaded to a real (Mesa) GL context.

#include "src/image.h"
#include "src/texture.h"
#include "tests/support/support_files.h"
#include "tests/support/support_paths.h"

#include "src/gl_api.h"
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace VARKO {
namespace {

using Testing::Bytes;
constexpr int kSize = 64;

std::string Fixture(const std::string& name) {
    return Testing::SourcePath("tests/fixtures/" + name);
}

void ExpectNear(const Bytes& actual, const Bytes& expected, int tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        ASSERT_LE(std::abs(actual[i] - expected[i]), tolerance) << "byte " << i;
    }
}

class TextureGLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("texture test", 0, 0, kSize, kSize,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        context = SDL_GL_CreateContext(window);
        ASSERT_NE(context, nullptr) << SDL_GetError();
    }

    // SDL stays up until the process ends: shutting it down closes the display, which unloads
    // the GL driver, and the leak check at exit could no longer tell the driver's own start-up
    // blocks from the program's.
    static void TearDownTestSuite() {
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
    }

    void SetUp() override {
        ASSERT_NE(context, nullptr);
        ASSERT_EQ(SDL_GL_MakeCurrent(window, context), 0);
    }

    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

    static inline SDL_Window* window = nullptr;
    static inline SDL_GLContext context = nullptr;
};

TEST_F(TextureGLTest, GeneralPicturesDecodeBottomRowFirst) {
    const Bytes reference = Testing::ReadBytes(Fixture("quadrants.rgb"));
    for (const char* name : {"quadrants.png", "quadrants.bmp", "quadrants.gif"}) {
        Image image;
        ASSERT_TRUE(image.Load(Fixture(name).c_str())) << name;
        EXPECT_EQ(Bytes(image.GetImage(), image.GetImage() + reference.size()), reference) << name;
    }
    Image jpeg;
    ASSERT_TRUE(jpeg.Load(Fixture("quadrants.jpg").c_str()));
    ExpectNear(Bytes(jpeg.GetImage(), jpeg.GetImage() + reference.size()), reference, 8);
}

// The system decoder hands four-channel JPEGs over as raw C, M, Y, K samples.
TEST_F(TextureGLTest, CmykJpegsWithAdobesMarkerMatchTheirRgbAndOthersAreRefused) {
    const Bytes reference = Testing::ReadBytes(Fixture("cmyk_adobe.rgb"));
    Image adobe;
    ASSERT_TRUE(adobe.Load(Fixture("cmyk_adobe.jpg").c_str()));
    ASSERT_FALSE(adobe.HasAlpha());
    ExpectNear(Bytes(adobe.GetImage(), adobe.GetImage() + reference.size()), reference, 3);
    Image plain;
    EXPECT_FALSE(plain.Load(Fixture("cmyk_plain.jpg").c_str()));
    EXPECT_EQ(plain.GetImage(), nullptr);
}

TEST_F(TextureGLTest, AJpegTextureDrawsUpright) {
    Texture textures;
    const unsigned int id = textures.Load(Fixture("quadrants.jpg"));
    ASSERT_NE(id, 0u);
    const TextureType info = textures.GetInfo(id);
    EXPECT_EQ(info.width, 16);
    EXPECT_EQ(info.height, 16);

    Bytes uploaded(16 * 16 * 3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
    ExpectNear(uploaded, Testing::ReadBytes(Fixture("quadrants.rgb")), 8);

    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    textures.Set(id);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    for (auto [s, t] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
        glTexCoord2i(s, t);
        glVertex2i(2 * s - 1, 2 * t - 1);
    }
    glEnd();
    glFinish();

    Bytes frame(kSize * kSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    auto at = [&](int x, int y) {
        const unsigned char* p = frame.data() + (y * kSize + x) * 3;
        return Bytes{p[0], p[1], p[2]};
    };
    // Window rows count from the bottom: blue and white below, red and green above.
    ExpectNear(at(16, 16), {0, 0, 255}, 10);
    ExpectNear(at(48, 16), {255, 255, 255}, 10);
    ExpectNear(at(16, 48), {255, 0, 0}, 10);
    ExpectNear(at(48, 48), {0, 255, 0}, 10);
}

} // namespace
} // namespace VARKO
