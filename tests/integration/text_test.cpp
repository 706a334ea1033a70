// Text from system fonts on the real backend, drawn into a window in a virtual display: glyph
// lists built through fontconfig and FreeType with Mesa on Linux, through GDI and WGL under Wine.

#include "src/opengl.h"
#include "src/text.h"

#include "src/gl_api.h"
#include <gtest/gtest.h>

#include <vector>

namespace {

VARKO::TextType SceneFont() {
    VARKO::TextType type;
    type.font = "Viner Hand ITC"; // not installed: fontconfig's substitute stands in
    type.size = 20;
    type.bold = true;
    type.depth = 0.2f;
    return type;
}

int LitPixels(int x, int y, int width, int height) {
    std::vector<GLubyte> pixels(static_cast<std::size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        lit += pixels[i] > 128 && pixels[i + 1] > 128 && pixels[i + 2] > 128;
    }
    return lit;
}

class TextDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 640, 480, 32, false));
        // The drawing area: the whole window on Linux, inside frame and caption on Windows.
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        width = viewport[2];
        height = viewport[3];
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1.0f, 1.0f, 1.0f);
    }

    static void Ortho(double left, double right, double bottom, double top) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(left, right, bottom, top, -10.0, 10.0);
        glMatrixMode(GL_MODELVIEW);
    }

    VARKO::OpenGL gl;
    int width = 0;
    int height = 0;
};

} // namespace

TEST_F(TextDrawing, BitmapTextLightsPixelsAndAdvancesTheRasterPosition) {
    VARKO::Text2D text;
    text.Setup(&gl, SceneFont());
    ASSERT_NE(text.base, 0u);
    Ortho(0, width, 0, height);
    glRasterPos2i(20, 100);
    text << "FPS: " << 60;
    GLfloat raster[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    EXPECT_GT(raster[0], 20.0f + 7 * 5); // seven glyphs, each several pixels wide
    EXPECT_LT(raster[0], 20.0f + 7 * 20);
    EXPECT_FLOAT_EQ(raster[1], 100.0f);
    EXPECT_GT(LitPixels(20, 95, static_cast<int>(raster[0]) - 20, 25), 40);
    EXPECT_EQ(LitPixels(0, 200, width, height - 200), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextDrawing, UnderlinedBitmapTextDrawsBelowTheBaseline) {
#ifdef _WIN32
    GTEST_SKIP() << "WGL's bitmap glyphs are the glyphs alone, without the font's underline";
#endif
    VARKO::TextType type = SceneFont();
    type.underline = true;
    VARKO::Text2D text;
    text.Setup(&gl, type);
    Ortho(0, width, 0, height);
    glRasterPos2i(20, 100);
    text << "AAAA";
    EXPECT_GT(LitPixels(22, 90, 30, 10), 25);
}

TEST_F(TextDrawing, OutlineTextDrawsSolidGlyphsAndMovesTheModelview) {
    VARKO::Text3D text;
    text.Setup(&gl, SceneFont());
    ASSERT_NE(text.base, 0u);
    EXPECT_GT(text.avgwidth, 0.2f);
    EXPECT_LT(text.avgwidth, 1.0f);
    Ortho(-0.5, 7.5, -2.0, 4.0); // 80 pixels per em
    text << "FPS: " << 60;
    GLfloat modelview[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_GT(modelview[12], 7 * 0.3f);
    EXPECT_LT(modelview[12], 7 * 1.0f);
    // The F stands on the baseline from x 0: its stem is solid.
    EXPECT_GT(LitPixels(40, 160, 80, 50), 400);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Nearest depth drawn at the window's centre after drawing "I" turned by `degrees` about y with
// the faces of `culled` orientation removed; 1 when nothing was drawn there.
float CentreDepth(VARKO::Text3D& text, float degrees, GLenum culled) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glCullFace(culled);
    glLoadIdentity();
    glRotatef(degrees, 0.0f, 1.0f, 0.0f);
    glTranslatef(-0.19f, -0.35f, 0.1f); // the stem of the I round the axis
    text << "I";
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat depth = 0.0f;
    glReadPixels(viewport[2] / 2, viewport[3] / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

// Whichever side the glyph is seen from (front, edge-on, back), the surface nearer the eye must be
// the one that faces it: faces and walls are wound and lit as seen from outside the solid.
TEST_F(TextDrawing, OutlineSurfacesFaceOutOfTheGlyph) {
#ifdef _WIN32
    GTEST_SKIP()
        << "the walls and winding of WGL's outline glyphs are the system's (Wine's differ)";
#endif
    VARKO::Text3D text;
    text.Setup(&gl, SceneFont());
    Ortho(-1.0, 1.0, -0.75, 0.75);
    for (float degrees : {0.0f, 90.0f, 180.0f}) {
        const float facing = CentreDepth(text, degrees, GL_BACK);
        const float turnedAway = CentreDepth(text, degrees, GL_FRONT);
        EXPECT_LT(facing, turnedAway) << degrees;
        EXPECT_LT(turnedAway, 1.0f) << degrees;
    }
}
