// Full screen on the real backend in a virtual display: the display's own size is granted at any
// colour depth (no Linux display changes its depth), a size it lacks is refused, and a 16-bit
// full-screen GL window covers the screen. (A virtual framebuffer has one mode only: the mode
// change and its undo are tested end to end on X.Org, tests/e2e/mode_restore_test.sh.)

#include "src/opengl.h"

#include "src/gl_api.h"
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

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

} // namespace
} // namespace VARKO
