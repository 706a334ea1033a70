// Lighting, material, colour tracking and texture state as the program's one shader receives it.
#include "tests/unit/web_gl/layer_fixture.h"

#include <gmock/gmock.h>

namespace VARKO::Testing {
namespace {

using ::testing::ElementsAre;

using Lighting = WebGLLayerTest;

// Light 1's uniform values of `name`, four per light.
std::vector<float> LightOne(const std::string& name, int size = 4) {
    const std::vector<float>& all = WebGLLayerTest::LastDraw().uniforms.at(name);
    return {all.begin() + size, all.begin() + 2 * size};
}

TEST_F(Lighting, LightPositionsAreInEyeSpaceWhenSet) {
    glTranslatef(0, 0, -30);
    const GLfloat positional[] = {1, 2, 3, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, positional);
    const GLfloat directional[] = {-1, 1, 1, 0};
    glLightfv(GL_LIGHT2, GL_POSITION, directional);
    glLoadIdentity(); // later changes of the modelview leave the lights where they are
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_THAT(LightOne("uLightPosition"), ElementsAre(1, 2, -27, 1));
    const std::vector<float>& all = LastDraw().uniforms.at("uLightPosition");
    EXPECT_THAT(std::vector<float>(all.begin() + 8, all.begin() + 12), ElementsAre(-1, 1, 1, 0));
    EXPECT_THAT(LastDraw().uniforms.at("uLightOn"), ElementsAre(0, 1, 0, 0, 0, 0, 0, 0));
    // Light 0's defaults, and no spot.
    EXPECT_THAT(std::vector<float>(LastDraw().uniforms.at("uLightDiffuse").begin(),
                                   LastDraw().uniforms.at("uLightDiffuse").begin() + 4),
                ElementsAre(1, 1, 1, 1));
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uSpotCosCutoff", 1), -2);
}

// The scene asks for an exponent of 312; Mesa refuses it and keeps 0.
TEST_F(Lighting, ShininessAbove128IsRefusedAndTheOldOneKept) {
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 312.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    glEnable(GL_LIGHTING);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uShininess"), 0);
    glMaterialf(GL_FRONT, GL_SHININESS, 128.0f);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uShininess"), 128);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Lighting, ValuesOutsideGLsRangesAreRefused) {
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 95);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 129);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, -1);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    const GLfloat white[] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0 + 8, GL_DIFFUSE, white);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    glMaterialfv(GL_FRONT, GL_POSITION, white);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
}

// The frame driver enables GL_COLOR_MATERIAL without glColorMaterial: GL's default tracks
// ambient and diffuse on both faces.
TEST_F(Lighting, ColourTrackingFollowsColorMaterial) {
    const GLfloat grey[] = {0.5f, 0.5f, 0.5f, 0.25f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    glEnable(GL_LIGHTING);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uColorMaterial"), 0);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uMaterialAmbient", 3), 0.25f);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uMaterialDiffuse", 0), 0.5f);
    glEnable(GL_COLOR_MATERIAL);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uColorMaterial"), 1);
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uColorMaterial"), 3);
    glColorMaterial(GL_BACK, GL_SPECULAR); // back faces are lit with the front material
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uColorMaterial"), 0);
}

TEST_F(Lighting, SphereMapCoordinatesFollowTexGenModeAndEnables) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uSphereMapS"), 1);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uSphereMapT"), 0);
    glEnable(GL_TEXTURE_GEN_T);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uSphereMapS"), 0);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uSphereMapT"), 1);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REPEAT);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
}

// Texturing is on only for a texture with the images its filter needs, as in GL 1.1.
TEST_F(Lighting, TexturesModulateOnlyWhenComplete) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const unsigned char pixels[2 * 2 * 4] = {};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glEnable(GL_TEXTURE_2D);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uTexturing"), 0); // mipmaps missing
    glTexImage2D(GL_TEXTURE_2D, 1, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uTexturing"), 1);
    EXPECT_EQ(LastDraw().parameters.at(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
    glDeleteTextures(1, &name);
    EXPECT_EQ(WebGL::LiveTextures(), 0);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_FLOAT_EQ(LastDraw().Uniform("uTexturing"), 0);
}

// Rows padded to GL's alignment arrive tight, in the internal format's components.
TEST_F(Lighting, ImagesAreRepackedForWebGL) {
    glBindTexture(GL_TEXTURE_2D, 5);
    const unsigned char rgb[2 * 4] = {1, 2, 3, 9, 4, 5, 6, 9}; // 1 x 2, rows of 4 bytes
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 1, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const unsigned char luminance[4] = {10, 20, 30, 40};
    glTexImage2D(GL_TEXTURE_2D, 1, GL_RGB, 2, 2, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, luminance);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 3, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE)); // not a power of two
    DrawAlongX(GL_TRIANGLES, 3);
    glEnable(GL_TEXTURE_2D);
    DrawAlongX(GL_TRIANGLES, 3);
    const auto uploads = WebGL::Uploads(LastDraw().texture);
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[0].format, GLenum(GL_RGBA));
    EXPECT_THAT(uploads[0].pixels, ElementsAre(1, 2, 3, 255, 4, 5, 6, 255));
    EXPECT_EQ(uploads[1].format, GLenum(GL_RGB));
    EXPECT_THAT(
        std::vector<unsigned char>(uploads[1].pixels.begin(), uploads[1].pixels.begin() + 6),
        ElementsAre(10, 10, 10, 20, 20, 20));
}

// GLU's gluBuild2DMipmaps asks a proxy whether its size fits.
TEST_F(Lighting, ProxyTexturesAnswerWhetherASizeFits) {
    GLint width = -1;
    glTexImage2D(GL_PROXY_TEXTURE_2D, 1, 3, 1024, 1024, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 1024);
    glTexImage2D(GL_PROXY_TEXTURE_2D, 1, 3, 2048, 2048, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    EXPECT_EQ(maxSize, 2048);
}

} // namespace
} // namespace VARKO::Testing
