// Display lists, the raster position and bitmaps, feedback mode and the attribute stacks.
#include "tests/unit/web_gl/layer_fixture.h"

#include <gmock/gmock.h>

namespace VARKO::Testing {
namespace {

using ::testing::ElementsAre;

using ListsAndRaster = WebGLLayerTest;

float ModelviewX() {
    return WebGLLayerTest::Matrix(GL_MODELVIEW_MATRIX)[12];
}

GLuint TranslateList(float x) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glTranslatef(x, 0, 0);
    glEndList();
    return list;
}

void WindowCoordinates() {
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(ListsAndRaster, CompiledCommandsWaitForTheCall) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glColor3f(1, 0, 0);
    DrawAlongX(GL_TRIANGLES, 3);
    glTranslatef(5, 0, 0);
    glEndList();
    EXPECT_TRUE(WebGL::Draws().empty());
    EXPECT_EQ(ModelviewX(), 0);
    glColor3f(0, 1, 0);
    glCallList(list);
    glCallList(list);
    EXPECT_EQ(WebGL::Draws().size(), 2u);
    EXPECT_EQ(ModelviewX(), 10);
    EXPECT_THAT(LastDraw().Attribute(0, 7, 4), ElementsAre(1, 0, 0, 1));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A list run while another is compiled with GL_COMPILE_AND_EXECUTE is recorded as one call,
// not also as the commands it ran.
TEST_F(ListsAndRaster, CompileAndExecuteRecordsNestedCallsOnce) {
    const GLuint inner = TranslateList(1);
    const GLuint outer = glGenLists(1);
    glNewList(outer, GL_COMPILE_AND_EXECUTE);
    glCallList(inner);
    glEndList();
    EXPECT_EQ(ModelviewX(), 1);
    glCallList(outer);
    EXPECT_EQ(ModelviewX(), 2);
}

TEST_F(ListsAndRaster, ListMisuseRaisesErrorsAndNeverHangs) {
    glNewList(0, GL_COMPILE);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    glEndList();
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    // A list that calls itself stops at GL's nesting limit of 64.
    glNewList(1, GL_COMPILE);
    glNewList(2, GL_COMPILE);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    glTranslatef(1, 0, 0);
    glCallList(1);
    glEndList();
    glCallList(1);
    EXPECT_EQ(ModelviewX(), 64);
    glCallList(999); // no such list: nothing happens
    glDeleteLists(1, -1);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    glDeleteLists(0xFFFFFFF0u, 0x7FFFFFFF); // a range past the last name
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The text code calls a string's glyph lists through glListBase and glCallLists.
TEST_F(ListsAndRaster, CallListsAddsTheListBase) {
    const GLuint one = TranslateList(1);
    TranslateList(10);
    glPushAttrib(GL_LIST_BIT);
    glListBase(one - 32);
    const GLubyte text[] = {32, 33, 33};
    glCallLists(3, GL_UNSIGNED_BYTE, text);
    glPopAttrib();
    EXPECT_EQ(ModelviewX(), 21);
    GLint base = -1;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 0);
    glCallLists(1, GL_2_BYTES, text);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
}

// A 9 x 2 bitmap, rows of two bytes at alignment 1: a window-aligned quad of its own mask.
TEST_F(ListsAndRaster, BitmapsDrawTheirMaskAtTheRasterPosition) {
    WindowCoordinates();
    glColor3f(1, 1, 0);
    glRasterPos2f(10.5f, 20);
    glColor3f(0, 0, 1); // the raster colour was taken above
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLubyte rows[] = {0x80, 0x80, 0x01, 0x00}; // bottom row: pixels 0 and 8
    glBitmap(9, 2, 0.5f, 0, 12, 0, rows);
    const WebGL::Draw& quad = LastDraw();
    ASSERT_EQ(quad.VertexCount(), 6);
    EXPECT_FLOAT_EQ(quad.Uniform("uBitmap"), 1);
    EXPECT_THAT(quad.Attribute(0, 0, 2), ElementsAre(2.0f * 10 / 640 - 1, 2.0f * 20 / 480 - 1));
    EXPECT_THAT(quad.Attribute(2, 0, 2), ElementsAre(2.0f * 19 / 640 - 1, 2.0f * 22 / 480 - 1));
    EXPECT_THAT(quad.Attribute(0, 7, 4), ElementsAre(1, 1, 0, 1));
    const auto uploads = WebGL::Uploads(quad.texture);
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].width, 9);
    const std::vector<unsigned char>& mask = uploads[0].pixels;
    EXPECT_EQ(mask[0], 255);
    EXPECT_EQ(mask[1], 0);
    EXPECT_EQ(mask[8], 255);
    EXPECT_EQ(mask[9 + 7], 255);
    EXPECT_EQ(quad.parameters.at(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    GLfloat raster[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    EXPECT_FLOAT_EQ(raster[0], 22.5f);
    EXPECT_EQ(WebGL::LiveTextures(), 0); // an uncompiled bitmap's texture goes at once
}

TEST_F(ListsAndRaster, AGlyphListKeepsItsTextureUntilDeleted) {
    WindowCoordinates();
    const GLubyte row[] = {0xFF};
    const GLuint glyph = glGenLists(1);
    glNewList(glyph, GL_COMPILE);
    glBitmap(8, 1, 0, 0, 8, 0, row);
    glEndList();
    glRasterPos2i(0, 0);
    glCallList(glyph);
    glCallList(glyph);
    EXPECT_EQ(WebGL::Draws().size(), 2u);
    EXPECT_EQ(WebGL::Uploads(LastDraw().texture).size(), 1u);
    EXPECT_EQ(WebGL::LiveTextures(), 1);
    glDeleteLists(glyph, 1);
    EXPECT_EQ(WebGL::LiveTextures(), 0);
}

// Sizes no browser can hold are refused, never allocated.
TEST_F(ListsAndRaster, OversizedImagesAreRefused) {
    WindowCoordinates();
    glRasterPos2i(0, 0);
    const GLubyte row[] = {0xFF};
    glBitmap(1 << 30, 1 << 30, 0, 0, 0, 0, row);
    EXPECT_EQ(glGetError(), GLenum(GL_OUT_OF_MEMORY));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1 << 30, 1 << 30, 0, GL_RGB, GL_UNSIGNED_BYTE, row);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
    EXPECT_TRUE(WebGL::Draws().empty());
}

TEST_F(ListsAndRaster, AClippedRasterPositionDrawsAndMovesNothing) {
    WindowCoordinates();
    glRasterPos2f(-5, 10);
    GLint valid = 1;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    EXPECT_EQ(valid, 0);
    const GLubyte row[] = {0xFF};
    glBitmap(8, 1, 0, 0, 8, 0, row);
    EXPECT_TRUE(WebGL::Draws().empty());
}

// How the Windows text code measures a glyph: run its list in feedback mode.
TEST_F(ListsAndRaster, FeedbackModeReportsBitmapsAndDrawsNothing) {
    WindowCoordinates();
    GLfloat feedback[8] = {};
    glFeedbackBuffer(8, GL_2D, feedback);
    EXPECT_EQ(glRenderMode(GL_FEEDBACK), 0);
    glRasterPos2f(100, 50);
    const GLubyte row[] = {0xFF};
    glBitmap(8, 1, 0, 0, 7, 0, row);
    DrawAlongX(GL_TRIANGLES, 3);
    GLfloat raster[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    EXPECT_NEAR(raster[0], 107, 1e-3);
    EXPECT_EQ(glRenderMode(GL_RENDER), 3);
    EXPECT_EQ(feedback[0], GL_BITMAP_TOKEN);
    EXPECT_NEAR(feedback[1], 100, 1e-3);
    EXPECT_NEAR(feedback[2], 50, 1e-3);
    EXPECT_TRUE(WebGL::Draws().empty());
    glRenderMode(GL_SELECT);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
}

TEST_F(ListsAndRaster, PopAttribRestoresOnlyThePushedGroups) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glPushAttrib(GL_LIGHTING_BIT);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glColor3f(0, 0, 1);
    glPopAttrib(); // lighting only
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    glPopAttrib();
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_FALSE);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_THAT(colour, ElementsAre(1, 1, 1, 1));
    glPopAttrib();
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_UNDERFLOW));
    for (int i = 0; i < 17; ++i) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW));
}

TEST_F(ListsAndRaster, PopClientAttribRestoresThePixelStore) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 7);
    glPopClientAttrib();
    GLint alignment = 0, rowLength = -1;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(alignment, 4);
    EXPECT_EQ(rowLength, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 3);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
}

} // namespace
} // namespace VARKO::Testing
