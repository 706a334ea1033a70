#include "app/scene.h"

#include "tests/support/gl_fake.h"
#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/resource.h>
#endif

#include <fstream>
#include <memory>
#include <string>

namespace Fake = VARKO::Testing::FakePlatform;
namespace GL = VARKO::Testing::GL;
using VARKO::ControlData;
using VARKO::MetaballScene;
using VARKO::OpenGL;
using VARKO::Platform::EventType;

namespace {

MetaballScene* current = nullptr;

void DrawCurrent(OpenGL* gl, ControlData* cont) {
    current->Draw(gl, cont);
}

#ifdef __linux__
// Address space the process holds now, in bytes.
rlim_t AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmSize:") {
            rlim_t kib = 0;
            status >> kib;
            return kib * 1024;
        }
    }
    return 0;
}
#endif

VARKO::Platform::Picture GreyPicture() {
    VARKO::Platform::Picture picture;
    picture.width = picture.height = 4;
    picture.rgba.assign(4 * 4 * 4, 128);
    return picture;
}

} // namespace

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fake::Reset();
        GL::Reset();
        Fake::SetClockMilliseconds(1000);
        ScriptPictures();
        scene = std::make_unique<MetaballScene>();
        current = scene.get();
        ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 800, 600, 32, false));
        GL::ClearLog();
    }
    virtual void ScriptPictures() {
        Fake::ScriptPicture("data/Reflect.jpg", GreyPicture());
        Fake::ScriptPicture("data/bg.jpg", GreyPicture());
    }
    void Hold(int key) { Fake::QueueEvent(gl.GetWindow()->GetHandle(), {EventType::KeyDown, key}); }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            Fake::AdvanceClock(16);
            ASSERT_TRUE(gl.DrawGLScene());
        }
    }
#ifdef __linux__
    bool FirstFrameWithoutRoomForTheGrid() {
        rlimit limit{AddressSpaceInUse() + (256u << 20), 0};
        limit.rlim_max = limit.rlim_cur;
        setrlimit(RLIMIT_AS, &limit);
        bool ended = !gl.DrawGLScene();
        const auto& shown = Fake::Messages();
        bool reported = shown.size() == 1 &&
                        shown[0].text == "Cannot allocate memory for the metaball grid." &&
                        shown[0].caption == "LumoGL Example Error" &&
                        shown[0].icon == VARKO::Platform::MessageIcon::Exclamation;
        return ended && reported && scene->init && GL::CountCalls("glBegin") == 0;
    }
#endif
    std::unique_ptr<MetaballScene> scene;
    OpenGL gl{DrawCurrent};
};

TEST_F(SceneTest, FirstFrameSetsUpGridBallsLightsAndMaterial) {
    Frames(1);
    EXPECT_FALSE(scene->init);
    EXPECT_EQ(scene->cubeGrid.numVertices, 51 * 51 * 51);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(scene->metaballs[i].squaredRadius, i + 5.0f);
    }
    EXPECT_TRUE(GL::CallsInOrder({
        "glMatrixMode(GL_MODELVIEW)",
        "glLoadIdentity()",
        "glShadeModel(GL_SMOOTH)",
        "glColor4f(1, 1, 1, 1)",
        "glClearDepth(1)",
        "glEnable(GL_DEPTH_TEST)",
        "glDepthFunc(GL_LEQUAL)",
        "glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST)",
        "glEnable(GL_NORMALIZE)",
        "glEnable(GL_CULL_FACE)",
        "glLightfv(GL_LIGHT1, GL_AMBIENT, 0.2, 0.2, 0.3, 1)",
        "glLightfv(GL_LIGHT1, GL_DIFFUSE, 1, 1, 1, 1)",
        "glLightfv(GL_LIGHT1, GL_POSITION, -1, 1, 1, 0)",
        "glLightfv(GL_LIGHT1, GL_SPECULAR, 0.3, 0.2, 1, 1)",
        "glEnable(GL_LIGHT1)",
        "glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, 1, 1, 1, 1)",
        "glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, 1, 1, 1, 1)",
        "glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 312)",
        "glEnable(GL_LIGHTING)",
        "glEnable(GL_LIGHT0)",
    }));
}

TEST_F(SceneTest, EveryFrameDrawsTheLitTurningSurfaceThenResetsTheState) {
    Frames(1);
    GL::ClearLog();
    Frames(1);
    EXPECT_EQ(GL::CountCalls("glBegin"), 2u);
    EXPECT_GT(scene->cubeGrid.numFacesDrawn, 0);
    EXPECT_EQ(GL::CountCalls("glVertex3fv"), 3u * scene->cubeGrid.numFacesDrawn);
    EXPECT_TRUE(GL::CallsInOrder({
        // Reflection mapping on, the empty list replayed.
        "glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP)",
        "glEnable(GL_TEXTURE_GEN_S)",
        "glBindTexture(GL_TEXTURE_2D, 1)",
        "glCallList(" + std::to_string(scene->sphere) + ")",
        // The surface.
        "glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)",
        "glLoadIdentity()",
        "glEnable(GL_LIGHTING)",
        "glTranslatef(0, 0, -30)",
        "glBegin(GL_TRIANGLES)",
        "glEnd()",
        "glDisable(GL_LIGHTING)",
        // The backdrop, unlit and untinted, with the map off.
        "glDisable(GL_TEXTURE_GEN_S)",
        "glColor3f(1, 1, 1)",
        "glBindTexture(GL_TEXTURE_2D, 2)",
        "glTranslatef(0, 0, -50)",
        "glBegin(GL_QUADS)",
        "glNormal3f(0, 0, 1)",
        "glTexCoord2f(0, 0)",
        "glVertex3f(-30, -30, 0)",
        "glTexCoord2f(1, 0)",
        "glVertex3f(30, -30, 0)",
        "glTexCoord2f(1, 1)",
        "glVertex3f(30, 30, 0)",
        "glTexCoord2f(0, 1)",
        "glVertex3f(-30, 30, 0)",
        "glEnd()",
        // The statistics, white and untextured.
        "glDisable(GL_TEXTURE_2D)",
        "glRasterPos2f(-0.058, 0.035)",
        "glRasterPos2f(-0.058, 0.03)",
        "glEnable(GL_TEXTURE_2D)",
        "glFlush()",
    }));
    // Light 0 lights the first frame only.
    EXPECT_FALSE(GL::Enabled(GL_LIGHT0));
    EXPECT_TRUE(GL::Enabled(GL_LIGHT1));
}

TEST_F(SceneTest, SurfaceTurnsAThirdOfAHundredDegreesPerSecond) {
    // The scene clock started at 1000 ms; the second frame below reads it at 3000 ms.
    Frames(1);
    Fake::AdvanceClock(3000 - 16 - 16);
    GL::ClearLog();
    Frames(1);
    std::vector<std::string> rotations = GL::CallTexts("glRotatef");
    ASSERT_EQ(rotations.size(), 1u);
    EXPECT_EQ(rotations[0], "glRotatef(100, 1, 0, 1)");
}

TEST_F(SceneTest, HoldingDownRemovesOneBallPerFrameDownToTwo) {
    Hold(40);
    std::vector<int> counts;
    for (int i = 0; i < 10; ++i) {
        Frames(1);
        counts.push_back(scene->numMetaballs);
    }
    EXPECT_EQ(counts, (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 2, 2}));
}

TEST_F(SceneTest, UpAndDownTogetherAlternateAtTen) {
    Hold(38);
    Hold(40);
    std::vector<int> counts;
    for (int i = 0; i < 4; ++i) {
        Frames(1);
        counts.push_back(scene->numMetaballs);
    }
    EXPECT_EQ(counts, (std::vector<int>{9, 10, 9, 10}));
}

TEST_F(SceneTest, HoldingUpFromTwoReachesTen) {
    scene->numMetaballs = 2;
    Hold(38);
    Frames(9);
    EXPECT_EQ(scene->numMetaballs, 10);
}

TEST_F(SceneTest, GridMemoryRefusedIsReportedAndEndsTheRun) {
#ifndef __linux__
    GTEST_SKIP() << "limits the address space through Linux's setrlimit";
#else
    // In a child whose address space cannot take the grid's reservation.
    EXPECT_EXIT(std::exit(FirstFrameWithoutRoomForTheGrid() ? 0 : 1), ::testing::ExitedWithCode(0),
                "");
#endif
}

TEST_F(SceneTest, StatisticsShowTheSampledRateAndTheBallCount) {
    Hold(40);
    Frames(1);
    std::vector<std::string> lines = GL::CallTexts("glCallLists");
    ASSERT_EQ(lines.size(), 4u);
    // 16 ms frames: 62 frames per second; Down held, so the count already reads 9.
    EXPECT_NE(lines[0].find("70, 80, 83, 58, 32"), std::string::npos) << lines[0];        // "FPS: "
    EXPECT_NE(lines[1].find("54, 50"), std::string::npos) << lines[1];                    // "62"
    EXPECT_NE(lines[3].find("(1, GL_UNSIGNED_BYTE, 57)"), std::string::npos) << lines[3]; // "9"
}

TEST_F(SceneTest, FrameRateOnDisplayIsHeldBetweenSamples) {
    Frames(1);
    EXPECT_EQ(scene->fps, 62);
    Fake::AdvanceClock(84); // one 100 ms frame: 10 per second, not shown yet
    ASSERT_TRUE(gl.DrawGLScene());
    EXPECT_EQ(scene->fps, 62);
    EXPECT_EQ(scene->fpsct, 2);
}

class MissingReflectionTest : public SceneTest {
    void ScriptPictures() override { Fake::ScriptPicture("data/bg.jpg", GreyPicture()); }
};

class MissingBackdropTest : public SceneTest {
    void ScriptPictures() override { Fake::ScriptPicture("data/Reflect.jpg", GreyPicture()); }
};

TEST_F(MissingReflectionTest, IsReportedOnceAndNothingIsDrawn) {
    EXPECT_FALSE(gl.DrawGLScene());
    ASSERT_EQ(Fake::Messages().size(), 1u);
    EXPECT_EQ(Fake::Messages()[0].text, "Cannot load reflection texture.");
    EXPECT_EQ(Fake::Messages()[0].caption, "LumoGL Example Error");
    EXPECT_EQ(GL::CountCalls("glBegin"), 0u);
    EXPECT_EQ(Fake::CountLog("DecodePicture"), 1u); // the backdrop is never tried
    EXPECT_TRUE(scene->init);
}

TEST_F(MissingBackdropTest, IsReported) {
    EXPECT_FALSE(gl.DrawGLScene());
    ASSERT_EQ(Fake::Messages().size(), 1u);
    EXPECT_EQ(Fake::Messages()[0].text, "Cannot load beckground texture.");
    EXPECT_EQ(Fake::Messages()[0].icon, VARKO::Platform::MessageIcon::Exclamation);
}
