// The GL window on the real backend: SDL2 windows and a Mesa context in a virtual display.

#include "src/opengl.h"

#include "src/gl_api.h"
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>

using VARKO::ControlData;
using VARKO::OpenGL;

namespace {

std::array<GLubyte, 4> PixelAt(int x, int y) {
    std::array<GLubyte, 4> pixel{};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

std::array<GLubyte, 4> sceneSaw{};

void RedScene(OpenGL*, ControlData*) {
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    sceneSaw = PixelAt(10, 10);
}

void PushKey(Uint32 windowId, Uint32 type, SDL_Keycode key) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = windowId;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

} // namespace

TEST(GLWindow, OpensAnEightHundredBySixHundredWindowWithACurrentContext) {
    OpenGL gl(RedScene);
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 800, 600, 32, false));
    SDL_Window* sdl = SDL_GL_GetCurrentWindow();
    ASSERT_NE(sdl, nullptr);
    ASSERT_NE(SDL_GL_GetCurrentContext(), nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "VARKO OpenGL Example");
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    gl.KillGLWindow();
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
}

TEST(GLWindow, AClearedFrameReadsBackTheClearColour) {
    OpenGL gl;
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 640, 480, 16, false));
    // The driver's own clear colour is black; a frame without scene leaves it.
    ASSERT_TRUE(gl.DrawGLScene());
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    std::array<GLubyte, 4> blue = PixelAt(320, 240);
    EXPECT_EQ(blue[0], 0);
    EXPECT_EQ(blue[1], 0);
    EXPECT_EQ(blue[2], 255);
}

TEST(GLWindow, SceneDrawsIntoTheWindow) {
    OpenGL gl(RedScene);
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 640, 480, 32, false));
    ASSERT_TRUE(gl.DrawGLScene());
    EXPECT_EQ(sceneSaw[0], 255);
    EXPECT_EQ(sceneSaw[1], 0);
    EXPECT_EQ(sceneSaw[2], 0);
}

TEST(GLWindow, KeyEventsReachTheKeyFlags) {
    OpenGL gl;
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 640, 480, 32, false));
    Uint32 id = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    PushKey(id, SDL_KEYDOWN, SDLK_UP);
    PushKey(id, SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_TRUE(gl.GetWindow()->GetKey(38));
    EXPECT_TRUE(gl.GetWindow()->keys[27]);
    PushKey(id, SDL_KEYUP, SDLK_UP);
    EXPECT_FALSE(gl.GetWindow()->GetKey(38));
    // Keys of another window are not this window's business.
    PushKey(id + 1000, SDL_KEYDOWN, SDLK_DOWN);
    EXPECT_FALSE(gl.GetWindow()->GetKey(40));
}

TEST(GLWindow, RecreationUnderTheSameClassSucceeds) {
    OpenGL gl;
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 640, 480, 32, false));
    gl.KillGLWindow();
    ASSERT_TRUE(gl.CreateGLWindow("VARKO OpenGL Example", 800, 600, 16, false));
    EXPECT_NE(SDL_GL_GetCurrentContext(), nullptr);
}
