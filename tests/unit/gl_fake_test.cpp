#include "tests/support/gl_fake.h"

#include "src/gl_api.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace GLFake = VARKO::Testing::GL;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::FloatNear;
using ::testing::Pointwise;

namespace {

class GLFakeTest : public ::testing::Test {
protected:
    void SetUp() override { GLFake::Reset(); }
};

std::vector<float> Identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

// Column-major matrix times the point (x, y, z, 1).
std::array<float, 4> Transform(const std::vector<float>& m, float x, float y, float z) {
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
    return out;
}

TEST_F(GLFakeTest, LogsCallsInOrderWithReadableArguments) {
    const GLfloat vertex[3] = {1, 2, 3};
    glEnable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 0.5f, 0);
    glBegin(GL_TRIANGLES);
    glVertex3fv(vertex);
    glEnd();
    glBlendFunc(GL_ONE, GL_SRC_COLOR);
    glBlendFunc(GL_SRC_ALPHA, GL_ZERO);
    gluPerspective(45, 640.0f / 480.0f, 0.1f, 1000);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glPushAttrib(GL_LIST_BIT);
    glDisable(0x1234);

    EXPECT_THAT(
        GLFake::CallTexts(),
        ElementsAre("glEnable(GL_TEXTURE_2D)", "glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)",
                    "glColor3f(1, 0.5, 0)", "glBegin(GL_TRIANGLES)", "glVertex3fv(1, 2, 3)",
                    "glEnd()", "glBlendFunc(GL_ONE, GL_SRC_COLOR)",
                    "glBlendFunc(GL_SRC_ALPHA, GL_ZERO)", "gluPerspective(45, 1.33333, 0.1, 1000)",
                    "glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP)",
                    "glPushAttrib(GL_LIST_BIT)", "glDisable(0x1234)"));
    EXPECT_EQ(GLFake::CountCalls("glBlendFunc"), 2u);
    EXPECT_THAT(
        GLFake::CallTexts("glBlendFunc"),
        ElementsAre("glBlendFunc(GL_ONE, GL_SRC_COLOR)", "glBlendFunc(GL_SRC_ALPHA, GL_ZERO)"));
    EXPECT_EQ(GLFake::CallNames()[4], "glVertex3fv");
    EXPECT_EQ(GLFake::Calls()[2].name, "glColor3f");
    EXPECT_THAT(GLFake::Calls()[2].args, ElementsAre(1.0, 0.5, 0.0));
    EXPECT_TRUE(GLFake::CallsInOrder({"glColor3f(1, 0.5, 0)", "glEnd()", "glDisable(0x1234)"}));
    EXPECT_FALSE(GLFake::CallsInOrder({"glEnd()", "glColor3f(1, 0.5, 0)"}));
    // The unknown capability is still an error, as on a real driver.
    EXPECT_EQ(GLFake::PendingError(), static_cast<GLenum>(GL_INVALID_ENUM));
}

TEST_F(GLFakeTest, ExpandsVectorArgumentsByParameter) {
    const GLfloat colour[4] = {0.2f, 0.2f, 0.3f, 1};
    const GLfloat shininess = 64;
    const GLfloat matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 5, 6, 1};
    const GLubyte text[] = "Hi";
    const GLubyte pixels[4 * 4 * 3] = {};
    glLightfv(GL_LIGHT1, GL_AMBIENT, colour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shininess);
    glLoadMatrixf(matrix);
    glCallLists(2, GL_UNSIGNED_BYTE, text);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);

    const auto texts = GLFake::CallTexts();
    EXPECT_EQ(texts[0], "glLightfv(GL_LIGHT1, GL_AMBIENT, 0.2, 0.2, 0.3, 1)");
    EXPECT_EQ(texts[1], "glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, 64)");
    EXPECT_EQ(GLFake::Calls()[2].args.size(), 16u);
    EXPECT_EQ(texts[3], "glCallLists(2, GL_UNSIGNED_BYTE, 72, 105)");
    EXPECT_EQ(texts[4], "glTexImage2D(GL_TEXTURE_2D, 0, 3, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE)");
}

TEST_F(GLFakeTest, ListNamesCountUpAndCanBeScriptedToFail) {
    EXPECT_EQ(glGenLists(1), 1u);
    EXPECT_EQ(glGenLists(96), 2u);
    GLFake::SetGenListsResult(0);
    EXPECT_EQ(glGenLists(1), 0u);
    EXPECT_EQ(glGenLists(1), 98u); // the script covers one call only
    GLFake::SetGenListsResult(500);
    EXPECT_EQ(glGenLists(2), 500u);
    EXPECT_EQ(glGenLists(1), 502u);
}

TEST_F(GLFakeTest, QuadricsAreDistinctUntilScriptedToFail) {
    GLUquadric* first = gluNewQuadric();
    GLUquadric* second = gluNewQuadric();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    gluSphere(second, 0.5, 16, 16);
    gluDeleteQuadric(first);
    gluDeleteQuadric(first);
    gluDeleteQuadric(nullptr);
    EXPECT_TRUE(GLFake::CallsInOrder({"gluSphere(2, 0.5, 16, 16)", "gluDeleteQuadric(1)"}));

    GLFake::SetNewQuadricFails(true);
    EXPECT_EQ(gluNewQuadric(), nullptr);
    GLFake::SetNewQuadricFails(false);
    EXPECT_NE(gluNewQuadric(), nullptr);
    EXPECT_NE(gluNewTess(), nullptr);
}

TEST_F(GLFakeTest, MaxTextureSizeIsScriptable) {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    EXPECT_EQ(size, 1024);
    GLFake::SetMaxTextureSize(256);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    EXPECT_EQ(size, 256);
    EXPECT_EQ(GLFake::CallTexts()[0], "glGetIntegerv(GL_MAX_TEXTURE_SIZE)");
}

TEST_F(GLFakeTest, ModelviewTranslationAndRotationAreComputed) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -30);
    glRotatef(90, 0, 0, 1);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[14], -30); // column-major: translation in 12..14
    const auto p = Transform({m, m + 16}, 1, 0, 0);
    EXPECT_NEAR(p[0], 0, 1e-6);
    EXPECT_NEAR(p[1], 1, 1e-6);
    EXPECT_NEAR(p[2], -30, 1e-6);
}

TEST_F(GLFakeTest, ProjectionMatchesPerspectiveAndOrthoFormulas) {
    glMatrixMode(GL_PROJECTION);
    gluPerspective(90, 2, 1, 3);
    EXPECT_THAT(GLFake::CurrentMatrix(GL_PROJECTION),
                Pointwise(FloatNear(1e-6), {0.5f, 0.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 0.f, -2.f,
                                            -1.f, 0.f, 0.f, -3.f, 0.f}));
    EXPECT_EQ(GLFake::CurrentMatrix(GL_MODELVIEW), Identity());

    // The 2-D mode's pixel projection: the top-left corner maps to (-1, 1).
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1, 1);
    const auto corner = Transform(GLFake::CurrentMatrix(GL_PROJECTION), 0, 0, 0);
    EXPECT_FLOAT_EQ(corner[0], -1);
    EXPECT_FLOAT_EQ(corner[1], 1);

    // A degenerate frustum is refused instead of filling the matrix with infinities.
    const auto before = GLFake::CurrentMatrix(GL_PROJECTION);
    glFrustum(-1, 1, -1, 1, 0, 10);
    EXPECT_EQ(GLFake::CurrentMatrix(GL_PROJECTION), before);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
}

TEST_F(GLFakeTest, LookAtMovesTheWorldInFrontOfTheEye) {
    gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
    const auto origin = Transform(GLFake::CurrentMatrix(GL_MODELVIEW), 0, 0, 0);
    EXPECT_FLOAT_EQ(origin[2], -5);
    gluLookAt(0, 0, 0, 0, 0, 0, 0, 1, 0); // eye on the centre: no NaNs
    for (float e : GLFake::CurrentMatrix(GL_MODELVIEW)) {
        EXPECT_FALSE(std::isnan(e));
    }
}

TEST_F(GLFakeTest, MatrixStacksPushPopAndRefuseUnderflow) {
    glTranslatef(1, 2, 3);
    glPushMatrix();
    glScalef(2, 2, 2);
    glPopMatrix();
    EXPECT_FLOAT_EQ(GLFake::CurrentMatrix(GL_MODELVIEW)[13], 2);
    EXPECT_FLOAT_EQ(GLFake::CurrentMatrix(GL_MODELVIEW)[0], 1);
    glPopMatrix();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_STACK_UNDERFLOW));
    EXPECT_FLOAT_EQ(GLFake::CurrentMatrix(GL_MODELVIEW)[12], 1);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glPushMatrix(); // the projection stack is only two deep
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_STACK_OVERFLOW));

    const float scripted[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
    GLFake::SetMatrix(GL_MODELVIEW, scripted);
    GLfloat read[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, read);
    EXPECT_THAT(read, ElementsAreArray(scripted));
}

TEST_F(GLFakeTest, TextureUploadsAreKeptPerName) {
    GLFake::SetGenTexturesStart(7);
    GLuint names[2];
    glGenTextures(2, names);
    EXPECT_THAT(names, ElementsAre(7u, 8u));
    const GLubyte rgba[2 * 2 * 4] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    glBindTexture(GL_TEXTURE_2D, names[1]);
    EXPECT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, 4, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, rgba), 0);

    EXPECT_EQ(GLFake::LastUpload(names[0]), nullptr);
    const GLFake::TextureUpload* upload = GLFake::LastUpload(names[1]);
    ASSERT_NE(upload, nullptr);
    EXPECT_TRUE(upload->mipmapped);
    EXPECT_EQ(upload->width, 2);
    EXPECT_EQ(upload->format, static_cast<GLenum>(GL_RGBA));
    EXPECT_THAT(upload->pixels, ElementsAreArray(rgba));

    glDeleteTextures(1, &names[1]);
    EXPECT_FALSE(GLFake::TextureExists(names[1]));
    EXPECT_EQ(GLFake::LastUpload(names[1]), nullptr);
    EXPECT_EQ(GLFake::BoundTexture(), 0u);
}

TEST_F(GLFakeTest, UploadsReadRowsAsGLDoesUnderTheUnpackAlignment) {
    // Two RGB rows of one pixel: with the default alignment of 4 each row takes 4 bytes.
    const GLubyte padded[] = {1, 2, 3, 0, 4, 5, 6};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, padded);
    EXPECT_THAT(GLFake::LastUpload(0)->pixels, ElementsAre(1, 2, 3, 4, 5, 6));

    const GLubyte tight[] = {1, 2, 3, 4, 5, 6};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, tight);
    EXPECT_THAT(GLFake::LastUpload(0)->pixels, ElementsAre(1, 2, 3, 4, 5, 6));
}

TEST_F(GLFakeTest, RefusedUploadsRecordNothing) {
    const GLubyte pixels[3 * 3 * 4] = {};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 3, 3, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE)); // not a power of two
    GLFake::SetBuild2DMipmapsResult(GLU_OUT_OF_MEMORY);
    EXPECT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, 4, 3, 3, GL_RGBA, GL_UNSIGNED_BYTE, pixels),
              GLU_OUT_OF_MEMORY);
    EXPECT_EQ(GLFake::LastUpload(0), nullptr);
}

TEST_F(GLFakeTest, ReadPixelsZeroesOnlyThePixelBytes) {
    GLubyte buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 0xAB);
    glReadPixels(0, 0, 1, 2, GL_RGB, GL_UNSIGNED_BYTE, buffer);
    EXPECT_THAT(buffer, ElementsAre(0, 0, 0, 0xAB, 0, 0, 0, 0xAB));
}

TEST_F(GLFakeTest, KeepsEnablesColourViewportAndQueriesThem) {
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(GLFake::Enabled(GL_DITHER));
    glEnable(GL_LIGHTING);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
    EXPECT_THAT(GLFake::CurrentColour(), ElementsAre(0.25f, 0.5f, 0.75f, 0.5f));

    GLint viewport[4] = {-1, -1, -1, -1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, ElementsAre(0, 0, 0, 0));
    glViewport(0, 0, 640, 480);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, ElementsAre(0, 0, 640, 480));
}

TEST_F(GLFakeTest, PopAttribRestoresOnlyTheSavedGroups) {
    glListBase(10);
    glPushAttrib(GL_LIST_BIT);
    glListBase(100);
    glEnable(GL_BLEND);
    glPopAttrib();
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 10);
    EXPECT_TRUE(GLFake::Enabled(GL_BLEND));
}

TEST_F(GLFakeTest, ReportsMisuseAsGLErrors) {
    GLFake::SetError(GL_OUT_OF_MEMORY);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // The scene's shininess of 312 is out of GL's range.
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 312);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));

    glBegin(GL_QUADS);
    glEnable(GL_BLEND);
    glEnd();
    EXPECT_FALSE(GLFake::Enabled(GL_BLEND));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION));
}

TEST_F(GLFakeTest, CompiledListsLeaveTheStateAlone) {
    glNewList(1, GL_COMPILE);
    glTranslatef(5, 0, 0);
    glEnable(GL_LIGHTING);
    glEndList();
    EXPECT_EQ(GLFake::CurrentMatrix(GL_MODELVIEW), Identity());
    EXPECT_FALSE(GLFake::Enabled(GL_LIGHTING));
    EXPECT_EQ(GLFake::PendingError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLFakeTest, ResetRestoresDefaultsAndClearLogKeepsState) {
    glEnable(GL_LIGHTING);
    glTranslatef(1, 0, 0);
    ASSERT_FALSE(GLFake::NoGLCalls());
    GLFake::ClearLog();
    EXPECT_TRUE(GLFake::NoGLCalls());
    EXPECT_TRUE(GLFake::Calls().empty());
    EXPECT_TRUE(GLFake::Enabled(GL_LIGHTING));

    GLFake::SetGenListsResult(0);
    GLFake::SetNewQuadricFails(true);
    GLFake::SetMaxTextureSize(64);
    GLFake::Reset();
    EXPECT_FALSE(GLFake::Enabled(GL_LIGHTING));
    EXPECT_EQ(GLFake::CurrentMatrix(GL_MODELVIEW), Identity());
    EXPECT_EQ(glGenLists(1), 1u);
    EXPECT_NE(gluNewQuadric(), nullptr);
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    EXPECT_EQ(size, 1024);
}

} // namespace
