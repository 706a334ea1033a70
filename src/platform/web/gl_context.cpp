// The WebGL context of the canvas. The browser offers one kind of surface (RGBA, double
// buffered, presented when the page is drawn), with or without depth and stencil, so every
// request is granted with the buffers it asks for. The swap hands the frame to the browser and
// waits for its next animation frame, which is also where the frame loop yields.

#include "src/platform/web/web_internal.h"

#include "src/platform/web/gl/gl_layer.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <vector>

namespace VARKO::Platform {
namespace {

// Formats handed out by ChooseSurfaceFormat; a format id is an index into this list plus one.
std::vector<PixelFormatRequest>& ChosenFormats() {
    static std::vector<PixelFormatRequest> formats;
    return formats;
}

struct SurfaceState {
    const NativeWindow* window = nullptr;
    PixelFormatRequest format;
};

SurfaceState& Surface() {
    static SurfaceState surface;
    return surface;
}

// Resumes once the browser has shown the page at its next animation frame; listed in
// ASYNCIFY_IMPORTS. The frame is drawn in a task of its own after that frame: drawn inside the
// animation-frame callback itself (resumed there by ASYNCIFY), the canvas was never put on
// screen, in headless and windowed Chromium alike.
EM_JS(void, varko_wait_for_frame, (), {
    Asyncify.handleSleep(
        function(wakeUp) { requestAnimationFrame(function() { setTimeout(wakeUp, 0); }); });
});

} // namespace

DeviceHandle GetWindowDevice(WindowHandle window) {
    return window ? &window->device : nullptr;
}

int ChooseSurfaceFormat(DeviceHandle, const PixelFormatRequest& request) {
    ChosenFormats().push_back(request);
    return static_cast<int>(ChosenFormats().size());
}

bool SetSurfaceFormat(DeviceHandle device, int format, const PixelFormatRequest&) {
    if (format < 1 || format > static_cast<int>(ChosenFormats().size())) {
        return false;
    }
    Surface() = {device->window, ChosenFormats()[format - 1]};
    return true;
}

ContextHandle CreateGLContext(DeviceHandle device) {
    if (Surface().window != device->window) {
        return nullptr; // no format was set on this surface
    }
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.depth = Surface().format.depthBits > 0;
    attributes.stencil = Surface().format.stencilBits > 0;
    attributes.majorVersion = 1;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(kCanvas, &attributes);
    return context > 0 ? reinterpret_cast<ContextHandle>(context) : nullptr;
}

bool MakeGLContextCurrent(DeviceHandle, ContextHandle context) {
    const auto handle =
        static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(reinterpret_cast<std::intptr_t>(context));
    return emscripten_webgl_make_context_current(handle) == EMSCRIPTEN_RESULT_SUCCESS;
}

// A WebGL context lives as long as its canvas, and the next window brings a new canvas. Releasing
// or deleting one therefore leaves it current until then: GL calls made after the window closed
// (the scene's textures are freed by static destructors at exit) must find a context, as GL
// ignores them where there is none, whereas WebGL calls without one throw.
bool ReleaseGLContext() {
    return true;
}

bool DeleteGLContext(ContextHandle) {
    return true;
}

void SwapSurfaceBuffers(DeviceHandle) {
    varko_wait_for_frame();
    NoteSwapWaited();
}

} // namespace VARKO::Platform
