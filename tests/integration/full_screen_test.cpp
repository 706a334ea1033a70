// Full screen on the real backend in a virtual display: the display's own size is granted at any
// colour depth (no Linux display changes its depth), a size it lacks is refused, and a 16-bit
// full-screen GL window covers the screen. (A virtual framebuffer has one mode only: the mode
// change and its undo are tested end to end on X.Org, tests/e2e/mode_restore_test.sh.) A kill
// that arrives while the program holds the display, or while it makes its window anew, still
// leaves full screen and ends the program.

#include "src/opengl.h"

#include "src/gl_api.h"
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include <unistd.h>

// Last: X11's macros (None, Bool, ...) would clash with names in the headers above.
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

namespace VARKO {
namespace {

struct Size {
    int width = 0;
    int height = 0;
};

Size Desktop() {
    Size size;
    Platform::GetDesktopSize(size.width, size.height);
    return size;
}

TEST(FullScreen, TheDesktopSizeIsGrantedAtEveryDepthAndAMissingSizeIsRefused) {
    Size desktop = Desktop();
    ASSERT_GT(desktop.width, 0);
    for (int bits : {8, 16, 32}) {
        EXPECT_TRUE(Platform::ChangeDisplayMode(desktop.width, desktop.height, bits)) << bits;
        Platform::RestoreDisplayMode();
    }
    EXPECT_FALSE(Platform::ChangeDisplayMode(desktop.width + 1, desktop.height + 1, 32));
}

TEST(FullScreen, SixteenBitWindowCoversTheScreen) {
    Size desktop = Desktop();
    OpenGL gl;
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", desktop.width, desktop.height, 16, true));
    EXPECT_TRUE(gl.GetFullScreen());
    SDL_Window* sdl = SDL_GL_GetCurrentWindow();
    ASSERT_NE(sdl, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN);
    // The drawing surface reaches the far corner of the screen.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GLubyte pixel[4] = {};
    glReadPixels(desktop.width - 1, desktop.height - 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[1], 255);
}

// The kill arrives while the program holds the display. Leaving full screen needs the display
// too: done by the interrupted thread it would step into Xlib mid-call (or wait for ever on the
// display's lock, and the give-up alarm would end the program instead). It is done once the
// display is let go, and the program then ends by the signal it was sent.
void KillWhileHoldingTheDisplay() {
    Size desktop = Desktop();
    OpenGL gl;
    if (!gl.CreateGLWindow("VARKO OpenGL Example", desktop.width, desktop.height, 32, true)) {
        std::_Exit(2);
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(SDL_GL_GetCurrentWindow(), &info)) {
        std::_Exit(3);
    }
    Display* display = info.info.x11.display;
    XLockDisplay(display);
    kill(getpid(), SIGTERM);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::fputs("letting go of the display\n", stderr);
    XUnlockDisplay(display);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    std::_Exit(4);
}

TEST(FullScreenDeathTest, AKillWhileTheDisplayIsHeldLeavesFullScreenOnceLetGo) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(KillWhileHoldingTheDisplay(), testing::KilledBySignal(SIGTERM),
                "letting go of the display");
}

// The kill arrives while the main thread makes its full-screen window anew again and again, so the
// thread that takes it walks the program's windows while they come and go. (Under the
// ThreadSanitizer build an unguarded walk is reported and ends the child with the sanitizer's
// status instead.)
void KillWhileWindowsAreMadeAnew() {
    Size desktop = Desktop();
    auto madeAnew = [&desktop] {
        OpenGL gl;
        if (!gl.CreateGLWindow("VARKO OpenGL Example", desktop.width, desktop.height, 32, true)) {
            std::_Exit(2);
        }
    };
    // The first window sets up the thread that takes kills; the killer comes after it, so that it
    // too has them blocked and the kill goes to that thread.
    madeAnew();
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        kill(getpid(), SIGTERM);
    }).detach();
    for (int made = 0; made < 1000; ++made) {
        madeAnew();
    }
    std::_Exit(4);
}

TEST(FullScreenDeathTest, AKillWhileWindowsAreMadeAnewLeavesFullScreenAndEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(KillWhileWindowsAreMadeAnew(), testing::KilledBySignal(SIGTERM), "");
}

} // namespace
} // namespace VARKO
