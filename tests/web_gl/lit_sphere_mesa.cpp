// The smoke scene drawn by Mesa's off-screen renderer, the reference the browser's picture is
// compared with: writes it as a binary PPM.
#include "tests/web_gl/lit_sphere_scene.h"

#include "src/gl_api.h"
#include <GL/osmesa.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ppm\n", argv[0]);
        return 2;
    }
    using WebGLSmoke::kHeight, WebGLSmoke::kWidth;
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 0, nullptr);
    std::vector<unsigned char> pixels(std::size_t(kWidth) * kHeight * 4);
    if (!context || !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, kWidth, kHeight)) {
        std::fprintf(stderr, "no off-screen GL context\n");
        return 1;
    }
    unsigned int setUpError = 0, drawError = 0;
    WebGLSmoke::DrawScene(setUpError, drawError);
    glFinish();
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int y = kHeight - 1; y >= 0; --y) { // GL's rows go bottom up
        for (int x = 0; x < kWidth; ++x) {
            std::fwrite(&pixels[(std::size_t(y) * kWidth + x) * 4], 1, 3, out);
        }
    }
    std::fclose(out);
    OSMesaDestroyContext(context);
    return 0;
}
