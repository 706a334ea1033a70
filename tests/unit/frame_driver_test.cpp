#include "src/opengl.h"

#include "src/exception.h"
#include "tests/support/gl_fake.h"
#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

#include <functional>

namespace Fake = VARKO::Testing::FakePlatform;
namespace GL = VARKO::Testing::GL;
using VARKO::ControlData;
using VARKO::OpenGL;
using VARKO::Platform::EventType;
using VARKO::Platform::MessageAnswer;
using VARKO::Platform::MessageButtons;
using VARKO::Platform::MessageIcon;
using Texts = std::vector<std::string>;

namespace {

std::function<void(OpenGL*, ControlData*)> sceneBody;
ControlData lastRecord;
int sceneCalls = 0;

void TestScene(OpenGL* gl, ControlData* cont) {
    ++sceneCalls;
    lastRecord = *cont;
    if (sceneBody) {
        sceneBody(gl, cont);
    }
}

} // namespace

class FrameDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fake::Reset();
        GL::Reset();
        sceneBody = nullptr;
        sceneCalls = 0;
    }
    bool Create(int width = 800, int height = 600, int bits = 32, bool full = false) {
        return gl.CreateGLWindow("VARKO OpenGL Example", width, height, bits, full);
    }
    void ExpectOnlyMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon = MessageIcon::Exclamation) {
        ASSERT_EQ(Fake::Messages().size(), 1u);
        EXPECT_EQ(Fake::Messages()[0].text, text);
        EXPECT_EQ(Fake::Messages()[0].caption, caption);
        EXPECT_EQ(Fake::Messages()[0].icon, icon);
        EXPECT_EQ(Fake::Messages()[0].buttons, MessageButtons::Ok);
    }
    OpenGL gl{TestScene};
};

TEST_F(FrameDriverTest, WindowedCreationInOrder) {
    Fake::SetWindowFrame(16, 39);
    ASSERT_TRUE(Create());
    EXPECT_EQ(Fake::Log(), (Texts{"RegisterWindowClass", "CreateNativeWindow", "GetWindowDevice",
                                  "ChooseSurfaceFormat", "SetSurfaceFormat", "CreateGLContext",
                                  "MakeGLContextCurrent", "FocusWindow"}));
    Fake::FakeWindow* window = Fake::Window(gl.GetWindow()->GetHandle());
    EXPECT_EQ(window->style, VARKO::Platform::WindowStyle::Framed);
    EXPECT_EQ(window->title, "VARKO OpenGL Example");
    EXPECT_EQ(window->width, 800);
    EXPECT_EQ(window->height, 600);
    int width = 0, height = 0;
    gl.GetWindow()->GetDimensions(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    ASSERT_EQ(Fake::FormatRequests().size(), 1u);
    EXPECT_EQ(Fake::FormatRequests()[0].depthBits, 32);
    EXPECT_EQ(Fake::FormatRequests()[0].stencilBits, 32);
    EXPECT_NE(gl.state, nullptr);
    EXPECT_NE(gl.frame, nullptr);
    EXPECT_TRUE(Fake::Messages().empty());
    EXPECT_TRUE(GL::CallsInOrder(
        // The drawing area within the frame, while the wrapper keeps the outer size.
        {"glViewport(0, 0, 784, 561)", "glMatrixMode(GL_PROJECTION)", "glLoadIdentity()",
         "gluPerspective(45, 1.3975, 0.1, 1000)", "glMatrixMode(GL_MODELVIEW)", "glLoadIdentity()",
         "glShadeModel(GL_SMOOTH)", "glClearColor(0, 0, 0, 0.5)", "glClearDepth(1)",
         "glDepthFunc(GL_LEQUAL)", "glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST)",
         "glEnable(GL_COLOR_MATERIAL)", "glEnable(GL_TEXTURE_2D)"}));
}

TEST_F(FrameDriverTest, StencilFallsBackToOneThenZero) {
    Fake::SetMaxStencilBits(0);
    ASSERT_TRUE(Create(640, 480, 8));
    ASSERT_EQ(Fake::FormatRequests().size(), 3u);
    EXPECT_EQ(Fake::FormatRequests()[0].depthBits, 16);
    EXPECT_EQ(Fake::FormatRequests()[0].stencilBits, 16);
    EXPECT_EQ(Fake::FormatRequests()[1].stencilBits, 1);
    EXPECT_EQ(Fake::FormatRequests()[2].stencilBits, 0);
}

TEST_F(FrameDriverTest, EachCreationStepReportsItsFailure) {
    struct Case {
        std::string function;
        std::string text;
    };
    const Case cases[] = {
        {"CreateNativeWindow", "Window Creation Error."},
        {"GetWindowDevice", "Can't Create A GL Device Context."},
        {"SetSurfaceFormat", "Can't Set The PixelFormat."},
        {"CreateGLContext", "Can't Create A GL Rendering Context."},
        {"MakeGLContextCurrent", "Can't Activate The GL Rendering Context."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        Fake::Reset();
        Fake::Fail(c.function);
        OpenGL failing{TestScene};
        EXPECT_FALSE(failing.CreateGLWindow("T", 800, 600, 32, false));
        ExpectOnlyMessage(c.text, "ERROR");
        EXPECT_EQ(Fake::LiveWindowCount(), 0u);
    }
    Fake::Reset();
    Fake::SetMaxStencilBits(-1);
    OpenGL noFormat{TestScene};
    EXPECT_FALSE(noFormat.CreateGLWindow("T", 800, 600, 32, false));
    ExpectOnlyMessage("Can't Find A Suitable PixelFormat.", "ERROR");
}

TEST_F(FrameDriverTest, FullScreenModeRefusedOffersWindowedMode) {
    Fake::FailDisplayModeChange(true);
    Fake::ScriptAnswers({MessageAnswer::Yes});
    ASSERT_TRUE(Create(1024, 768, 16, true));
    ASSERT_EQ(Fake::Messages().size(), 1u);
    EXPECT_EQ(Fake::Messages()[0].text, "The Requested Fullscreen Mode Is Not Supported By\nYour "
                                        "Video Card. Use Windowed Mode Instead?");
    EXPECT_EQ(Fake::Messages()[0].caption, "VARKO GL");
    EXPECT_EQ(Fake::Messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(gl.GetFullScreen());
    EXPECT_EQ(Fake::Window(gl.GetWindow()->GetHandle())->style,
              VARKO::Platform::WindowStyle::Framed);
}

TEST_F(FrameDriverTest, DecliningWindowedModeCloses) {
    Fake::FailDisplayModeChange(true);
    Fake::ScriptAnswers({MessageAnswer::No});
    EXPECT_FALSE(Create(1024, 768, 16, true));
    ASSERT_EQ(Fake::Messages().size(), 2u);
    EXPECT_EQ(Fake::Messages()[1].text, "Program Will Now Close.");
    EXPECT_EQ(Fake::Messages()[1].caption, "ERROR");
    EXPECT_EQ(Fake::Messages()[1].icon, MessageIcon::Stop);
    EXPECT_EQ(Fake::CountLog("CreateNativeWindow"), 0u);
}

TEST_F(FrameDriverTest, FullScreenMakesAPopupAndRestoresTheModeOnTearDown) {
    ASSERT_TRUE(Create(1024, 768, 32, true));
    EXPECT_EQ(Fake::Window(gl.GetWindow()->GetHandle())->style,
              VARKO::Platform::WindowStyle::Popup);
    gl.KillGLWindow();
    EXPECT_EQ(Fake::CountLog("RestoreDisplayMode"), 1u);
    EXPECT_EQ(Fake::CountLog("ShowMouseCursor"), 1u);
}

TEST_F(FrameDriverTest, KillTwiceShowsNothingTheSecondTime) {
    ASSERT_TRUE(Create());
    Fake::Fail("ReleaseGLContext");
    Fake::Fail("DeleteGLContext");
    gl.KillGLWindow();
    ASSERT_EQ(Fake::Messages().size(), 2u);
    EXPECT_EQ(Fake::Messages()[0].text, "Release Of DC And RC Failed.");
    EXPECT_EQ(Fake::Messages()[1].text, "Release Rendering Context Failed.");
    EXPECT_EQ(Fake::Messages()[1].caption, "SHUTDOWN ERROR");
    EXPECT_EQ(Fake::Messages()[1].icon, MessageIcon::Information);
    gl.KillGLWindow();
    EXPECT_EQ(Fake::Messages().size(), 2u);
    EXPECT_EQ(Fake::CountLog("DestroyNativeWindow"), 1u);
}

TEST_F(FrameDriverTest, CreatingOverAnOpenWindowTearsItDownFirst) {
    ASSERT_TRUE(Create(1024, 768, 32, true));
    Fake::ClearLog();
    ASSERT_TRUE(Create());
    const std::vector<std::string> expected = {"RestoreDisplayMode", "ShowMouseCursor",
                                               "ReleaseGLContext", "DeleteGLContext",
                                               "DestroyNativeWindow"};
    ASSERT_GE(Fake::Log().size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(Fake::Log().begin(), Fake::Log().begin() + 5), expected);
    EXPECT_EQ(Fake::LiveWindowCount(), 1u);
    EXPECT_TRUE(Fake::Messages().empty());
}

TEST_F(FrameDriverTest, FrameClearsCallsTheSceneFlushesAndSwaps) {
    ASSERT_TRUE(Create());
    Fake::QueueEvent(gl.GetWindow()->GetHandle(), {EventType::KeyDown, 38});
    Fake::QueueEvent(gl.GetWindow()->GetHandle(), {EventType::MouseMove, 10, 20});
    Fake::AdvanceClock(40);
    GL::ClearLog();
    sceneBody = [](OpenGL*, ControlData*) { glBegin(GL_TRIANGLES); };
    ASSERT_TRUE(gl.DrawGLScene());
    EXPECT_EQ(GL::CallTexts(), (Texts{"glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)",
                                      "glLoadIdentity()", "glBegin(GL_TRIANGLES)", "glFlush()"}));
    EXPECT_EQ(Fake::CountLog("SwapSurfaceBuffers"), 1u);
    EXPECT_TRUE(lastRecord.keys[38]);
    EXPECT_EQ(lastRecord.mouseX, 10);
    EXPECT_EQ(lastRecord.mouseY, 20);
    EXPECT_EQ(lastRecord.width, 800);
    EXPECT_EQ(lastRecord.height, 600);
    EXPECT_EQ(lastRecord.bits, 32);
    EXPECT_TRUE(lastRecord.fullscreen); // the opposite of the current mode
    EXPECT_EQ(lastRecord.state, gl.state);
    EXPECT_EQ(lastRecord.fps, 25);
    EXPECT_FALSE(lastRecord.quit);
    EXPECT_FALSE(lastRecord.recreate);
}

TEST_F(FrameDriverTest, QuitStillSwapsThatFrame) {
    ASSERT_TRUE(Create());
    sceneBody = [](OpenGL*, ControlData* cont) { cont->quit = true; };
    EXPECT_FALSE(gl.DrawGLScene());
    EXPECT_EQ(Fake::CountLog("SwapSurfaceBuffers"), 1u);
}

TEST_F(FrameDriverTest, ExceptionIsReportedWithoutFlushOrSwap) {
    ASSERT_TRUE(Create());
    GL::ClearLog();
    sceneBody = [](OpenGL*, ControlData*) {
        throw VARKO::LumoException(12, ".\\src\\image", "Image :: SetPixel - Out of range.");
    };
    EXPECT_FALSE(gl.DrawGLScene());
    ExpectOnlyMessage("Exception at\n\nLine :\t12\nFile :\t.\\src\\image\nError:\tImage :: "
                      "SetPixel - Out of range.\n\nThis application will now exit.",
                      "VARKO Exception");
    EXPECT_EQ(GL::CountCalls("glFlush"), 0u);
    EXPECT_EQ(Fake::CountLog("SwapSurfaceBuffers"), 0u);
}

TEST_F(FrameDriverTest, ResizeFollowsTheWrapperSize) {
    ASSERT_TRUE(Create());
    Fake::QueueEvent(gl.GetWindow()->GetHandle(), {EventType::Resized, 784, 0});
    GL::ClearLog();
    ASSERT_TRUE(gl.DrawGLScene());
    // A height of 0 counts as 1.
    EXPECT_TRUE(GL::CallsInOrder(
        {"glFlush()", "glViewport(0, 0, 784, 1)", "gluPerspective(45, 784, 0.1, 1000)"}));
    GL::ClearLog();
    ASSERT_TRUE(gl.DrawGLScene());
    EXPECT_EQ(GL::CountCalls("glViewport"), 0u);
}

TEST_F(FrameDriverTest, RecreateTogglesTheModeAndReplacesTheWindow) {
    ASSERT_TRUE(Create(800, 600, 16, false));
    VARKO::Platform::WindowHandle before = gl.GetWindow()->GetHandle();
    sceneBody = [](OpenGL*, ControlData* cont) { cont->recreate = true; };
    ASSERT_TRUE(gl.DrawGLScene());
    EXPECT_FALSE(Fake::Window(before)->alive);
    EXPECT_EQ(gl.GetWindow()->GetHandle(), Fake::LastWindow());
    EXPECT_TRUE(gl.GetFullScreen());
    Fake::FakeWindow* window = Fake::Window(gl.GetWindow()->GetHandle());
    EXPECT_EQ(window->title, "VARKO OpenGL Example");
    EXPECT_EQ(window->style, VARKO::Platform::WindowStyle::Popup);
    EXPECT_EQ(Fake::LiveWindowCount(), 1u);
}

TEST_F(FrameDriverTest, RecreateFallsBackTo640x480x16) {
    ASSERT_TRUE(Create(1024, 768, 32, false));
    sceneBody = [](OpenGL*, ControlData* cont) {
        cont->recreate = true;
        cont->fullscreen = false;
    };
    Fake::FailNth("CreateGLContext", 2);
    ASSERT_TRUE(gl.DrawGLScene());
    ASSERT_EQ(Fake::Messages().size(), 1u);
    EXPECT_EQ(Fake::Messages()[0].text, "Can't Create A GL Rendering Context.");
    Fake::FakeWindow* window = Fake::Window(gl.GetWindow()->GetHandle());
    EXPECT_EQ(window->width, 640);
    EXPECT_EQ(window->height, 480);
    EXPECT_EQ(gl.bits, 16);
}

TEST_F(FrameDriverTest, RecreateFailingTwiceEndsTheRun) {
    ASSERT_TRUE(Create());
    sceneBody = [](OpenGL*, ControlData* cont) { cont->recreate = true; };
    Fake::FailCreateWindow(true);
    EXPECT_FALSE(gl.DrawGLScene());
    ASSERT_EQ(Fake::Messages().size(), 3u);
    EXPECT_EQ(Fake::Messages()[2].text, "Fatal Error: Window cannot be opened.");
    EXPECT_EQ(Fake::Messages()[2].caption, "LumoSDK Fatal Error N1");
    EXPECT_EQ(Fake::Messages()[2].icon, MessageIcon::Exclamation);
}
