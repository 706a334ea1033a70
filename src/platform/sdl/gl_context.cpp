// OpenGL drawing surfaces and contexts through SDL2. On X11 the visual of a GL window is fixed
// when the window is made, so choosing a format probes it on a hidden window and setting it
// rebuilds the window as a GL window with those attributes.

#include "src/platform/sdl/sdl_internal.h"

#include <vector>

namespace VARKO::Platform {
namespace {

// Formats handed out by ChooseSurfaceFormat; a format id is an index into this list plus one.
std::vector<PixelFormatRequest>& ChosenFormats() {
    static std::vector<PixelFormatRequest> formats;
    return formats;
}

void ApplyAttributes(const PixelFormatRequest& request) {
    int red = 8, green = 8, blue = 8;
    if (request.colorBits <= 8) {
        red = 3, green = 3, blue = 2;
    } else if (request.colorBits <= 16) {
        red = 5, green = 6, blue = 5;
    }
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, green);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, blue);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencilBits);
}

bool FormatExists(const PixelFormatRequest& request) {
    ApplyAttributes(request);
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!probe) {
        return false;
    }
    SDL_DestroyWindow(probe);
    return true;
}

// Depth buffers deeper than the driver has are relaxed to the deepest it has, as a format
// chooser would; the stencil request stays a minimum.
bool FindFormat(PixelFormatRequest& request) {
    int tried = 0;
    for (int depth : {request.depthBits, 24, 16}) {
        if (depth > request.depthBits || depth == tried) {
            continue;
        }
        tried = depth;
        PixelFormatRequest attempt = request;
        attempt.depthBits = depth;
        if (FormatExists(attempt)) {
            request = attempt;
            return true;
        }
    }
    return false;
}

} // namespace

DeviceHandle GetWindowDevice(WindowHandle window) {
    return window ? &window->device : nullptr;
}

int ChooseSurfaceFormat(DeviceHandle, const PixelFormatRequest& request) {
    PixelFormatRequest found = request;
    if (!FindFormat(found)) {
        return 0;
    }
    ChosenFormats().push_back(found);
    return static_cast<int>(ChosenFormats().size());
}

bool SetSurfaceFormat(DeviceHandle device, int format, const PixelFormatRequest&) {
    if (format < 1 || format > static_cast<int>(ChosenFormats().size())) {
        return false;
    }
    ApplyAttributes(ChosenFormats()[format - 1]);
    return RebuildSdlWindow(device->window, SDL_WINDOW_OPENGL);
}

ContextHandle CreateGLContext(DeviceHandle device) {
    return reinterpret_cast<ContextHandle>(SDL_GL_CreateContext(device->window->sdl));
}

bool MakeGLContextCurrent(DeviceHandle device, ContextHandle context) {
    return SDL_GL_MakeCurrent(device->window->sdl, reinterpret_cast<SDL_GLContext>(context)) == 0;
}

bool ReleaseGLContext() {
    return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
}

bool DeleteGLContext(ContextHandle context) {
    SDL_GL_DeleteContext(reinterpret_cast<SDL_GLContext>(context));
    return true;
}

void SwapSurfaceBuffers(DeviceHandle device) {
    SDL_GL_SwapWindow(device->window->sdl);
}

} // namespace VARKO::Platform
