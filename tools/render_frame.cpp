// Renders one frame of the metaball scene into a PNG file, without any window or X display:
// Mesa's off-screen renderer draws into memory, and the scene's own code draws the frame.
//
//   render_frame [--time=MS] [--balls=N] [--size=WIDTHxHEIGHT] [--fps=N] OUTPUT.png
//
// Defaults: time 0, 10 balls, 800x600, "FPS: 60" in the corner. Run it from a directory that
// holds data/ (the repository root); the text uses the system's fonts, as the demo does.

#include "app/scene.h"
#include "src/opengl.h"

#include "src/gl_api.h"

#include <GL/osmesa.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// The scene's clock stands still at the time asked for, so a frame is the same on every run. It
// replaces the system's clock of the platform layer for this program only.
namespace {
std::int64_t clockMilliseconds = 0;
}

namespace VARKO::Platform {
std::int64_t CounterFrequency() {
    return 1000;
}
std::int64_t CounterValue() {
    return clockMilliseconds;
}
std::uint32_t Milliseconds() {
    return static_cast<std::uint32_t>(clockMilliseconds);
}
} // namespace VARKO::Platform

namespace {

struct Options {
    long time = 0;
    int balls = 10;
    int width = 800;
    int height = 600;
    int fps = 60;
    std::string output;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        int end = 0;
        if (std::sscanf(arg, "--time=%ld%n", &options.time, &end) == 1 && arg[end] == '\0') {
            continue;
        }
        if (std::sscanf(arg, "--balls=%d%n", &options.balls, &end) == 1 && arg[end] == '\0') {
            continue;
        }
        if (std::sscanf(arg, "--size=%dx%d%n", &options.width, &options.height, &end) == 2 &&
            arg[end] == '\0') {
            continue;
        }
        if (std::sscanf(arg, "--fps=%d%n", &options.fps, &end) == 1 && arg[end] == '\0') {
            continue;
        }
        if (arg[0] == '-' || !options.output.empty()) {
            return false;
        }
        options.output = arg;
    }
    return !options.output.empty() && options.time >= 0 && options.balls >= 2 &&
           options.balls <= 10 && options.width > 0 && options.height > 0 &&
           options.width <= 8192 && options.height <= 8192;
}

// One frame as the frame driver would draw it: clear, fill the record, call the scene.
bool DrawFrame(VARKO::OpenGL& gl, int fps) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    VARKO::ControlData cont;
    VARKO::Window* window = gl.GetWindow();
    cont.keys = window->keys;
    window->GetDimensions(cont.width, cont.height);
    cont.bits = gl.bits;
    cont.fullscreen = true;
    cont.state = gl.state;
    cont.frameLength = fps > 0 ? 1000.0f / static_cast<float>(fps) : 1000.0f;
    cont.fps = fps;
    DrawScene(&gl, &cont);
    glFinish();
    return !cont.quit;
}

// OSMesa's rows run bottom-up; PNG rows top-down.
bool SavePng(const std::vector<unsigned char>& pixels, int width, int height,
             const std::string& path) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<unsigned char*>(surface->pixels) + std::size_t(y) * surface->pitch;
        std::memcpy(row, pixels.data() + std::size_t(height - 1 - y) * rowBytes, rowBytes);
        for (std::size_t x = 3; x < rowBytes; x += 4) {
            row[x] = 255; // the clear colour's alpha of 0.5 is no part of the picture
        }
    }
    bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--time=MS] [--balls=2..10] [--size=WIDTHxHEIGHT] "
                     "[--fps=N] OUTPUT.png\n",
                     argv[0]);
        return 2;
    }
    // Headless even where a display exists: a failure is reported on the error stream, never in
    // a message box.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");

    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 0, nullptr);
    std::vector<unsigned char> pixels(std::size_t(options.width) * options.height * 4);
    if (!context || !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, options.width,
                                       options.height)) {
        std::fprintf(stderr, "no off-screen GL context\n");
        return 1;
    }

    int status = 0;
    {
        // The GL object as the frame driver sets it up, around a window wrapper with no window.
        VARKO::OpenGL gl;
        gl.SetFullScreen(false);
        gl.bits = 32;
        gl.window = new VARKO::Window();
        gl.window->width = options.width;
        gl.window->height = options.height;
        gl.state = new VARKO::StateManager();
        gl.ReSizeGLScene(options.width, options.height);
        gl.InitGL();

        // The first frame sets the scene up and is lit once more by light 0; the second is one
        // of the running demo.
        clockMilliseconds = options.time;
        bool drawn = DrawFrame(gl, options.fps);
        VARKO::scene.numMetaballs = options.balls;
        drawn = drawn && DrawFrame(gl, options.fps);
        if (!drawn) {
            std::fprintf(stderr, "the scene could not be set up (is data/ here?)\n");
            status = 1;
        } else if (!SavePng(pixels, options.width, options.height, options.output)) {
            std::fprintf(stderr, "cannot write %s\n", options.output.c_str());
            status = 1;
        }
    }
    OSMesaDestroyContext(context);
    return status;
}
