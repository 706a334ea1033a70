#include "src/state.h"

#include "src/exception.h"
#include "tests/support/gl_fake.h"
#include "tests/support/support_files.h"

#include <gtest/gtest.h>

namespace GL = VARKO::Testing::GL;
using VARKO::StateManager;
using VARKO::View;
using Texts = std::vector<std::string>;

class StateManagerTest : public ::testing::Test {
protected:
    void SetUp() override { GL::Reset(); }
};

TEST_F(StateManagerTest, ConstructorPutsGLIntoTheCachedState) {
    StateManager state;
    EXPECT_EQ(GL::CallTexts(),
              (Texts{"glDisable(GL_TEXTURE_2D)", "glDisable(GL_LIGHTING)", "glDisable(GL_BLEND)",
                     "glDisable(GL_LIGHT0)", "glDisable(GL_LIGHT1)", "glDisable(GL_LIGHT2)",
                     "glDisable(GL_LIGHT3)", "glDisable(GL_LIGHT4)", "glDisable(GL_LIGHT5)",
                     "glDisable(GL_LIGHT6)", "glDisable(GL_LIGHT7)", "glEnable(GL_DEPTH_TEST)"}));
    EXPECT_TRUE(state.GetDepthTest());
}

TEST_F(StateManagerTest, RequestsForTheCachedStateIssueNothing) {
    StateManager state;
    GL::ClearLog();
    state.SetBlending(VARKO::BlendNone);
    state.SetTexturing(false);
    state.SetLighting(false);
    state.SetDepthTest(true);
    for (int i = 0; i < 8; ++i) {
        state.SetLight(i, false);
    }
    state.Set3DMode();
    EXPECT_TRUE(GL::NoGLCalls());
}

TEST_F(StateManagerTest, ChangesIssueOneCallEach) {
    StateManager state;
    GL::ClearLog();
    state.SetTexturing(true);
    state.SetTexturing(true);
    state.SetLighting(true);
    state.SetLight(3, true);
    state.SetLight(3, true);
    state.SetDepthTest(false);
    state.SetTexturing(false);
    EXPECT_EQ(GL::CallTexts(),
              (Texts{"glEnable(GL_TEXTURE_2D)", "glEnable(GL_LIGHTING)", "glEnable(GL_LIGHT3)",
                     "glDisable(GL_DEPTH_TEST)", "glDisable(GL_TEXTURE_2D)"}));
    EXPECT_FALSE(state.GetDepthTest());
}

TEST_F(StateManagerTest, LightIndexOutOfRangeThrowsAndChangesNothing) {
    StateManager state;
    GL::ClearLog();
    for (int bad : {8, -1}) {
        VARKO::Testing::ExpectLumoException([&] { state.SetLight(bad, true); },
                                            "StateManager :: SetLight - Light index out of range.",
                                            ".\\src\\state");
    }
    EXPECT_TRUE(GL::NoGLCalls());
    for (bool light : state.lights) {
        EXPECT_FALSE(light);
    }
}

TEST_F(StateManagerTest, BlendModes) {
    StateManager state;
    GL::ClearLog();
    state.SetBlending(VARKO::BlendAlpha);
    state.SetBlending(VARKO::BlendAdditive);
    state.SetBlending(static_cast<VARKO::Blending>(7));
    state.SetBlending(static_cast<VARKO::Blending>(7));
    state.SetBlending(VARKO::BlendNone);
    EXPECT_EQ(
        GL::CallTexts(),
        (Texts{"glEnable(GL_BLEND)", "glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)",
               "glEnable(GL_BLEND)", "glBlendFunc(GL_SRC_ALPHA, GL_ONE)", "glEnable(GL_BLEND)",
               "glBlendFunc(GL_ONE, GL_SRC_COLOR)", "glDisable(GL_BLEND)"}));
}

TEST_F(StateManagerTest, TwoDModeSwitchesDepthOffAndRestoresEverything) {
    StateManager state;
    glViewport(0, 0, 640, 480);
    const float projection[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, -1, -1, 0, 0, -0.2f, 0};
    GL::SetMatrix(GL_PROJECTION, projection);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    std::vector<float> view = GL::CurrentMatrix(GL_MODELVIEW);

    state.Set2DMode();
    EXPECT_FALSE(state.GetDepthTest());
    EXPECT_FALSE(GL::Enabled(GL_DEPTH_TEST));
    // Pixel (0, 0) is the top-left corner and (640, 480) the bottom-right one.
    std::vector<float> ortho = GL::CurrentMatrix(GL_PROJECTION);
    EXPECT_FLOAT_EQ(ortho[0] * 0 + ortho[12], -1.0f);
    EXPECT_FLOAT_EQ(ortho[0] * 640 + ortho[12], 1.0f);
    EXPECT_FLOAT_EQ(ortho[5] * 0 + ortho[13], 1.0f);
    EXPECT_FLOAT_EQ(ortho[5] * 480 + ortho[13], -1.0f);

    state.Set3DMode();
    EXPECT_TRUE(state.GetDepthTest());
    EXPECT_TRUE(GL::Enabled(GL_DEPTH_TEST));
    EXPECT_EQ(GL::CurrentMatrix(GL_PROJECTION), std::vector<float>(projection, projection + 16));
    EXPECT_EQ(GL::CurrentMatrix(GL_MODELVIEW), view);
}

TEST_F(StateManagerTest, TwoDModeWithDepthOffIssuesNoDepthCall) {
    StateManager state;
    state.SetDepthTest(false);
    GL::ClearLog();
    state.Set2DMode();
    state.Set3DMode();
    EXPECT_EQ(GL::CountCalls("glEnable") + GL::CountCalls("glDisable"), 0u);
}

TEST_F(StateManagerTest, SecondTwoDModeCapturesTheFirstOne) {
    StateManager state;
    glViewport(0, 0, 640, 480);
    state.Set2DMode();
    std::vector<float> ortho = GL::CurrentMatrix(GL_PROJECTION);
    state.Set2DMode();
    state.Set3DMode();
    EXPECT_EQ(GL::CurrentMatrix(GL_PROJECTION), ortho);
    EXPECT_FALSE(state.GetDepthTest());
}

TEST(View, OperationsIssueTheirCalls) {
    GL::Reset();
    View view;
    view.Reset();
    view.Translate(0, 0, -0.11f);
    view.Rotate(30, 1, 0, 1);
    view.Scale(2, 2, 2);
    view.Pos2D(-0.058f, 0.035f);
    view.Pos2D(3, 4);
    view.Save();
    view.Restore();
    EXPECT_EQ(GL::CallTexts(),
              (Texts{"glMatrixMode(GL_MODELVIEW)", "glLoadIdentity()", "glTranslatef(0, 0, -0.11)",
                     "glRotatef(30, 1, 0, 1)", "glScalef(2, 2, 2)", "glRasterPos2f(-0.058, 0.035)",
                     "glRasterPos2i(3, 4)", "glMatrixMode(GL_MODELVIEW)", "glPushMatrix()",
                     "glMatrixMode(GL_MODELVIEW)", "glPopMatrix()"}));
}

TEST(ValueTypes, Defaults) {
    EXPECT_EQ(VARKO::ColourAlpha(0.1f, 0.2f, 0.3f).a, 1.0f);
    VARKO::Matrix identity;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(identity.m[i], (i % 5 == 0) ? 1.0f : 0.0f);
    }
}
