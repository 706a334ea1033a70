// Immediate mode over the stream buffer: current values, primitive assembly, shading, errors.
#include "tests/unit/web_gl/layer_fixture.h"

#include <gmock/gmock.h>

namespace VARKO::Testing {
namespace {

using ::testing::ElementsAre;

using ImmediateMode = WebGLLayerTest;

TEST_F(ImmediateMode, NormalColourAndTexCoordCarryToLaterVertices) {
    glNormal3f(0, 1, 0);
    glColor4f(0.5f, 0.25f, 1, 1);
    glTexCoord2f(0.75f, 0.5f);
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 0, 0);
    glVertex3d(1, 0, 0);
    glColor3f(1, 0, 0);
    const GLdouble last[3] = {0, 1, 0};
    glVertex3dv(last);
    glEnd();
    ASSERT_EQ(WebGL::Draws().size(), 1u);
    const WebGL::Draw& draw = LastDraw();
    EXPECT_EQ(draw.mode, GLenum(GL_TRIANGLES));
    ASSERT_EQ(draw.VertexCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_THAT(draw.Attribute(i, 4, 3), ElementsAre(0, 1, 0));
        EXPECT_THAT(draw.Attribute(i, 11, 4), ElementsAre(0.75f, 0.5f, 0, 1));
    }
    EXPECT_THAT(draw.Attribute(1, 7, 4), ElementsAre(0.5f, 0.25f, 1, 1));
    EXPECT_THAT(draw.Attribute(2, 7, 4), ElementsAre(1, 0, 0, 1));
    EXPECT_THAT(draw.Attribute(2, 0, 4), ElementsAre(0, 1, 0, 1));
}

// Face culling must see GL's winding: odd strip triangles swap their first two vertices.
TEST_F(ImmediateMode, PrimitivesBecomeTrianglesInTheirWinding) {
    DrawAlongX(GL_QUADS, 4);
    EXPECT_THAT(DrawnOrder(), ElementsAre(0, 1, 2, 0, 2, 3));
    DrawAlongX(GL_TRIANGLE_STRIP, 5);
    EXPECT_THAT(DrawnOrder(), ElementsAre(0, 1, 2, 2, 1, 3, 2, 3, 4));
    DrawAlongX(GL_QUAD_STRIP, 4);
    EXPECT_THAT(DrawnOrder(), ElementsAre(0, 1, 3, 0, 3, 2));
    DrawAlongX(GL_POLYGON, 5);
    EXPECT_THAT(DrawnOrder(), ElementsAre(0, 1, 2, 0, 2, 3, 0, 3, 4));
    DrawAlongX(GL_LINE_LOOP, 3);
    EXPECT_EQ(LastDraw().mode, GLenum(GL_LINES));
    EXPECT_THAT(DrawnOrder(), ElementsAre(0, 1, 1, 2, 2, 0));
}

TEST_F(ImmediateMode, IncompletePrimitivesDrawNothing) {
    DrawAlongX(GL_TRIANGLES, 2);
    DrawAlongX(GL_QUADS, 3);
    EXPECT_TRUE(WebGL::Draws().empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ImmediateMode, FlatShadingTakesTheQuadsLastVertex) {
    glShadeModel(GL_FLAT);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glColor3f(static_cast<float>(i) / 4, 0, 0);
        glVertex3f(static_cast<float>(i), 0, 0);
    }
    glEnd();
    const WebGL::Draw& draw = LastDraw();
    for (int i = 0; i < draw.VertexCount(); ++i) {
        EXPECT_FLOAT_EQ(draw.Attribute(i, 7, 1)[0], 0.75f);
    }
}

TEST_F(ImmediateMode, CommandsOutOfPlaceRaiseMesasErrors) {
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    glBegin(GL_POLYGON + 1);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    glBegin(GL_TRIANGLES);
    glEnable(GL_LIGHTING);
    glBegin(GL_TRIANGLES);
    glEnd();
    // The first error is kept until read; the state change was refused.
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_FALSE);
    glEnable(0x1234);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
}

TEST_F(ImmediateMode, FixedStateGoesToWebGLOnlyWhenItChanges) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    DrawAlongX(GL_TRIANGLES, 3);
    const std::size_t first = WebGL::StateCalls().size();
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_EQ(WebGL::StateCalls().size(), first);
    glDisable(GL_BLEND);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_EQ(WebGL::StateCalls().back(), "Disable(3042)");
    EXPECT_THAT(WebGL::StateCalls(), ::testing::Contains("BlendFunc(770, 1)"));
}

TEST_F(ImmediateMode, AProgramThatDoesNotBuildDrawsNothing) {
    WebGL::SetProgramFails(true);
    GLLayer::ContextCreated(640, 480);
    DrawAlongX(GL_TRIANGLES, 3);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(WebGL::Draws().empty());
    EXPECT_TRUE(WebGL::StateCalls().empty());
}

TEST_F(ImmediateMode, MatrixStacksOverflowAndUnderflowAsGLDoes) {
    glPopMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_UNDERFLOW));
    for (int i = 1; i < 32; ++i) {
        glPushMatrix();
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glTranslatef(1, 2, 3);
    glPushMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW));
    EXPECT_FLOAT_EQ(Matrix(GL_MODELVIEW_MATRIX)[13], 2);
    glMatrixMode(GL_TEXTURE);
    for (int i = 1; i < 10; ++i) {
        glPushMatrix();
    }
    glPushMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW));
}

TEST_F(ImmediateMode, TransformsComposeAsGLs) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 640, 0, 480, -1, 1);
    EXPECT_FLOAT_EQ(Matrix(GL_PROJECTION_MATRIX)[0], 2.0f / 640);
    EXPECT_FLOAT_EQ(Matrix(GL_PROJECTION_MATRIX)[12], -1);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 0, 0);
    glRotatef(90, 0, 0, 1);
    glScalef(2, 2, 2);
    const std::vector<float> m = Matrix(GL_MODELVIEW_MATRIX);
    // The x axis goes to (0, 2, 0), the origin to (1, 0, 0).
    EXPECT_NEAR(m[0], 0, 1e-6);
    EXPECT_NEAR(m[1], 2, 1e-6);
    EXPECT_FLOAT_EQ(m[12], 1);
    DrawAlongX(GL_TRIANGLES, 3);
    EXPECT_EQ(LastDraw().uniforms.at("uModelView"), m);
    EXPECT_NEAR(LastDraw().Uniform("uNormalMatrix", 1), 0.5f, 1e-6); // inverse transpose
}

} // namespace
} // namespace VARKO::Testing
