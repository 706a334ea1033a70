// The Win32 backend under Wine: real windows, messages, WGL contexts, GDI fonts and OLE pictures.

#include "src/image.h"
#include "src/opengl.h"
#include "src/platform/win32/win32_internal.h"
#include "src/text.h"
#include "src/window.h"
#include "tests/support/support_files.h"
#include "tests/support/support_paths.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace Platform = VARKO::Platform;
using VARKO::Testing::Bytes;

namespace {

HWND Hwnd(VARKO::Window& window) {
    return window.GetHandle()->hwnd;
}

std::array<GLubyte, 4> PixelAt(int x, int y) {
    std::array<GLubyte, 4> pixel{};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

// System commands that reach the default window procedure: it tells the thread's CBT hook before
// it carries one out, and the hook here refuses each, so nothing is actually done.
std::vector<WPARAM> commandsCarriedOut;

LRESULT CALLBACK RecordSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        commandsCarriedOut.push_back(wParam & 0xFFF0);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What a message box showed, read when it is first activated; the box is then answered with
// `answerWith` as if that button were pressed.
struct BoxSeen {
    HICON icon = nullptr;
    std::vector<int> buttons;
};
BoxSeen boxSeen;
int answerWith = IDOK;

BOOL CALLBACK ReadBoxControl(HWND control, LPARAM) {
    char className[16] = {};
    GetClassNameA(control, className, sizeof className);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        boxSeen.icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
    } else if (lstrcmpiA(className, "Button") == 0 && (style & WS_VISIBLE)) {
        boxSeen.buttons.push_back(GetDlgCtrlID(control));
    }
    return TRUE;
}

LRESULT CALLBACK ReadAndAnswerBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        EnumChildWindows(box, ReadBoxControl, 0);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answerWith, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

float RasterX() {
    GLfloat raster[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    return raster[0];
}

} // namespace

TEST(Win32Window, AClassRegisteredTwiceAndItsWindowsKeepTheRequestedOuterSize) {
    EXPECT_TRUE(Platform::RegisterWindowClass("Win32WindowTest"));
    EXPECT_TRUE(Platform::RegisterWindowClass("Win32WindowTest"));

    VARKO::Window window;
    ASSERT_TRUE(window.SetupTitle(0, 0, 400, 300, "Win32WindowTest"));
    RECT outer{};
    GetWindowRect(Hwnd(window), &outer);
    EXPECT_EQ(outer.right - outer.left, 400);
    EXPECT_EQ(outer.bottom - outer.top, 300);
    // The WM_SIZE of creation came before the wrapper was attached and was dropped.
    window.DoMessaging();
    EXPECT_FALSE(window.BeenSized());
    int width = 0, height = 0;
    window.GetDimensions(width, height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    window.Close();
    // The same class again, as the GL window's re-creation needs.
    ASSERT_TRUE(window.Setup(10, 10, 200, 100, "Win32WindowTest"));
}

TEST(Win32Window, PostedMessagesArriveAsTheirEvents) {
    VARKO::Window window;
    ASSERT_TRUE(window.Setup(0, 0, 320, 240, "Win32Events"));
    HWND hwnd = Hwnd(window);
    PostMessageA(hwnd, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(window.GetKey(38));
    EXPECT_TRUE(window.keys[27]);
    PostMessageA(hwnd, WM_KEYUP, VK_UP, 0);
    EXPECT_FALSE(window.GetKey(38));
    // Coordinates are the unsigned words of lParam.
    PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 7));
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    int x = 0, y = 0;
    window.GetMousePosition(x, y);
    EXPECT_EQ(x, 65535);
    EXPECT_EQ(y, 7);
    EXPECT_TRUE(window.leftButton);
    PostMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(300, 200));
    window.DoMessaging();
    EXPECT_TRUE(window.BeenSized());
    EXPECT_EQ(window.width, 300);

    // A close request reaches the pump as an event and leaves the window alone.
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    Platform::Event event{Platform::EventType::KeyDown};
    ASSERT_TRUE(Platform::PollEvent(window.GetHandle(), event));
    EXPECT_EQ(event.type, Platform::EventType::CloseRequest);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(Platform::PollEvent(window.GetHandle(), event));
}

// The screen saver and monitor power-down never reach the default window procedure, while other
// system commands (here, minimising) do.
TEST(Win32Window, ScreenSaverAndMonitorPowerCommandsAreSwallowed) {
    VARKO::Window window;
    ASSERT_TRUE(window.Setup(0, 0, 320, 240, "Win32SystemCommands"));
    HHOOK hook = SetWindowsHookExA(WH_CBT, RecordSystemCommands, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    commandsCarriedOut.clear();
    SendMessageA(Hwnd(window), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    SendMessageA(Hwnd(window), WM_SYSCOMMAND, SC_MONITORPOWER | 0x3, 2);
    SendMessageA(Hwnd(window), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(commandsCarriedOut, std::vector<WPARAM>{SC_MINIMIZE});
}

// While the program has a window the display is kept on; with the last one gone it may sleep.
TEST(Win32Window, TheDisplayStaysAwakeWhileAWindowIsOpen) {
    SetThreadExecutionState(ES_CONTINUOUS);
    {
        VARKO::Window window;
        ASSERT_TRUE(window.Setup(0, 0, 320, 240, "Win32Awake"));
        const EXECUTION_STATE during = SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
        EXPECT_EQ(during, EXECUTION_STATE(ES_CONTINUOUS | ES_DISPLAY_REQUIRED));
    }
    EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS), EXECUTION_STATE(ES_CONTINUOUS));
}

TEST(Win32MessageBox, EachBoxHasItsIconAndButtonsAndReturnsThePressedOne) {
    using Platform::MessageAnswer;
    using Platform::MessageButtons;
    using Platform::MessageIcon;
    struct Case {
        MessageButtons buttons;
        MessageIcon icon;
        LPCSTR systemIcon;
        std::vector<int> shownButtons;
        int pressed;
        MessageAnswer answer;
    };
    const Case cases[] = {
        {MessageButtons::Ok,
         MessageIcon::Exclamation,
         IDI_EXCLAMATION,
         {IDOK},
         IDOK,
         MessageAnswer::Ok},
        {MessageButtons::Ok, MessageIcon::Stop, IDI_HAND, {IDOK}, IDOK, MessageAnswer::Ok},
        {MessageButtons::Ok,
         MessageIcon::Information,
         IDI_ASTERISK,
         {IDOK},
         IDOK,
         MessageAnswer::Ok},
        {MessageButtons::YesNo,
         MessageIcon::Exclamation,
         IDI_EXCLAMATION,
         {IDYES, IDNO},
         IDYES,
         MessageAnswer::Yes},
        {MessageButtons::YesNo,
         MessageIcon::Exclamation,
         IDI_EXCLAMATION,
         {IDYES, IDNO},
         IDNO,
         MessageAnswer::No},
    };
    HHOOK hook = SetWindowsHookExA(WH_CBT, ReadAndAnswerBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    for (const Case& c : cases) {
        boxSeen = {};
        answerWith = c.pressed;
        EXPECT_EQ(Platform::ShowMessage("Text.", "Win32MessageBox", c.buttons, c.icon), c.answer);
        EXPECT_EQ(boxSeen.icon, LoadIconA(nullptr, c.systemIcon));
        EXPECT_EQ(boxSeen.buttons, c.shownButtons);
    }
    UnhookWindowsHookEx(hook);
}

class Win32GL : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 640, 480, 32, false));
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
    VARKO::OpenGL gl;
};

// The window keeps its outer size; the viewport covers the client area inside frame and caption.
TEST_F(Win32GL, TheViewportIsTheClientArea) {
    HWND hwnd = gl.GetWindow()->GetHandle()->hwnd;
    RECT outer{}, client{};
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(outer.right - outer.left, 640);
    EXPECT_EQ(outer.bottom - outer.top, 480);
    ASSERT_LT(client.bottom, 480); // a caption is there to leave out
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], client.right);
    EXPECT_EQ(viewport[3], client.bottom);
}

TEST_F(Win32GL, AClearedFrameReadsBackTheClearColour) {
    EXPECT_NE(wglGetCurrentContext(), nullptr);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(PixelAt(5, 5), (std::array<GLubyte, 4>{0, 255, 0, 255}));
    EXPECT_EQ(PixelAt(600, 400), (std::array<GLubyte, 4>{0, 255, 0, 255}));
}

TEST_F(Win32GL, BitmapSpacesAdvanceByTheFontsWidth) {
    VARKO::Text2D text;
    VARKO::TextType type;
    type.font = "Viner Hand ITC"; // not installed: the font mapper's substitute stands in
    type.size = 20;
    type.bold = true;
    text.Setup(&gl, type);
    ASSERT_NE(text.base, 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); // nothing left behind by the font building
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport); // one unit a pixel, so that advances add up exactly
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRasterPos2i(10, 10);
    text << " ";
    const float space = RasterX() - 10.0f;
    EXPECT_GE(space, 3.0f);
    EXPECT_LE(space, 12.0f);
    // "FPS: 147" is the glyphs of "FPS:" and "147" with a space's width between them.
    glRasterPos2i(10, 10);
    text << "FPS:";
    const float label = RasterX() - 10.0f;
    glRasterPos2i(10, 10);
    text << "FPS: " << 147;
    const float line = RasterX() - 10.0f;
    glRasterPos2i(10, 10);
    text << "147";
    EXPECT_FLOAT_EQ(line, label + space + (RasterX() - 10.0f));
}

TEST_F(Win32GL, PicturesDecodedThroughOleMatchTheReferenceRows) {
    const Bytes reference =
        VARKO::Testing::ReadBytes(VARKO::Testing::SourcePath("tests/fixtures/quadrants.rgb"));
    ASSERT_EQ(reference.size(), 16u * 16 * 3);
    // Relative to the current directory (the repository root), as the program names its pictures.
    for (const char* name : {"tests/fixtures/quadrants.bmp", "tests/fixtures/quadrants.gif",
                             "tests/fixtures/quadrants.jpg"}) {
        VARKO::Image image;
        ASSERT_TRUE(image.Load(name)) << name;
        int width = 0, height = 0;
        image.GetDimensions(width, height);
        ASSERT_EQ(width, 16) << name;
        ASSERT_EQ(height, 16) << name;
        const int tolerance = std::string(name).ends_with(".jpg") ? 8 : 0;
        for (std::size_t i = 0; i < reference.size(); ++i) {
            ASSERT_LE(std::abs(image.GetImage()[i] - reference[i]), tolerance)
                << name << " byte " << i;
        }
    }
}

TEST_F(Win32GL, PicturesThatCannotBeNamedOrDecodedFail) {
    Platform::Picture picture;
    EXPECT_FALSE(Platform::DecodePicture("tests/fixtures/missing.jpg", picture));
    EXPECT_FALSE(Platform::DecodePicture("tests/fixtures/pattern.pcx", picture)); // not OLE's
    // A path longer than the system's limit fails instead of overrunning the buffer.
    EXPECT_FALSE(Platform::DecodePicture(std::string(300, 'a') + ".jpg", picture));
}

// 8-bit colour asks for 16 depth and stencil bits; whatever format the system gives, the window
// gets a double-buffered RGBA format with that depth, a context that draws, and a palette only
// where the format asks for one.
TEST(Win32GLEightBit, AnEightBitWindowGetsAFormatAndAContextThatDraw) {
    VARKO::OpenGL gl;
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 320, 240, 8, false));
    HDC dc = Platform::ToHdc(gl.GetDC());
    PIXELFORMATDESCRIPTOR set{};
    ASSERT_NE(DescribePixelFormat(dc, GetPixelFormat(dc), sizeof set, &set), 0);
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    EXPECT_EQ(set.dwFlags & needed, needed);
    EXPECT_EQ(set.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(set.cColorBits, 8);
    EXPECT_GE(set.cDepthBits, 16);
    EXPECT_GE(set.cRedBits + set.cGreenBits + set.cBlueBits, 8);
    // The default palette stays selected unless the format draws through one.
    const bool paletteSelected = GetCurrentObject(dc, OBJ_PAL) != GetStockObject(DEFAULT_PALETTE);
    EXPECT_EQ(paletteSelected, (set.dwFlags & PFD_NEED_PALETTE) != 0);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(PixelAt(5, 5), (std::array<GLubyte, 4>{255, 255, 255, 255}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
