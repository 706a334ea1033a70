// The smoke scene in the browser: drawn once into the page's canvas, the page's title saying
// whether GL reported what it should, so that a headless browser's title and screenshot tell
// the result.
#include "src/platform/web/gl/gl_layer.h"
#include "tests/web_gl/lit_sphere_scene.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

namespace {

constexpr unsigned int kInvalidValue = 0x0501, kNoError = 0;

bool MakeContext() {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.antialias = false;
    attributes.preserveDrawingBuffer = true;
    emscripten_set_canvas_element_size("#canvas", WebGLSmoke::kWidth, WebGLSmoke::kHeight);
    const auto context = emscripten_webgl_create_context("#canvas", &attributes);
    return context > 0 &&
           emscripten_webgl_make_context_current(context) == EMSCRIPTEN_RESULT_SUCCESS;
}

} // namespace

int main() {
    if (!MakeContext()) {
        std::puts("GL layer smoke: no WebGL context");
        return 1;
    }
    VARKO::GLLayer::ContextCreated(WebGLSmoke::kWidth, WebGLSmoke::kHeight);
    unsigned int setUpError = 0, drawError = 0;
    WebGLSmoke::DrawScene(setUpError, drawError);
    std::printf("GL layer smoke: set-up %#x, drawing %#x\n", setUpError, drawError);
    const bool ok = setUpError == kInvalidValue && drawError == kNoError;
    emscripten_run_script(ok ? "document.title = 'drawn'" : "document.title = 'GL error'");
    return 0;
}
