// Smoke page for the web GL layer: a lit, sphere-mapped gluSphere from a display list over a
// textured quad, and a bitmap glyph, drawn once into the page's canvas. The page's title says
// whether GL reported an error, so a headless browser's screenshot and title tell the result.
#include "src/gl_api.h"
#include "src/platform/web/gl/gl_layer.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 320, kHeight = 240;

bool MakeContext() {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.antialias = false;
    attributes.preserveDrawingBuffer = true;
    emscripten_set_canvas_element_size("#canvas", kWidth, kHeight);
    const auto context = emscripten_webgl_create_context("#canvas", &attributes);
    return context > 0 &&
           emscripten_webgl_make_context_current(context) == EMSCRIPTEN_RESULT_SUCCESS;
}

// A 64 x 64 checkerboard through gluBuild2DMipmaps, as the program's textures go.
GLuint CheckerTexture() {
    std::vector<unsigned char> pixels(64 * 64 * 3);
    for (int i = 0; i < 64 * 64; ++i) {
        const bool light = ((i % 64) / 8 + (i / 64) / 8) % 2 == 0;
        pixels[i * 3] = light ? 240 : 40;
        pixels[i * 3 + 1] = light ? 200 : 60;
        pixels[i * 3 + 2] = light ? 80 : 160;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return texture;
}

void SetUpScene() {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(kWidth) / kHeight, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 6, 0, 0, 0, 0, 1, 0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    const GLfloat position[] = {-1, 1, 1, 0}, diffuse[] = {0.9f, 0.9f, 1, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHT1);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 312.0f); // refused, as Mesa refuses it
}

GLuint SphereList() {
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    gluSphere(quadric, 1.5, 32, 32);
    glEndList();
    gluDeleteQuadric(quadric);
    return list;
}

void Draw(GLuint texture, GLuint sphere) {
    glClearColor(0.1f, 0.1f, 0.2f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(-4, -3, -3);
    glTexCoord2f(1, 0), glVertex3f(4, -3, -3);
    glTexCoord2f(1, 1), glVertex3f(4, 3, -3);
    glTexCoord2f(0, 1), glVertex3f(-4, 3, -3);
    glEnd();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_LIGHTING);
    glCallList(sphere);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    const GLubyte block[8] = {0xFF, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0xFF};
    glColor3f(1, 1, 0);
    glRasterPos3f(-2.0f, 1.6f, 0.0f);
    glBitmap(8, 8, 0, 0, 10, 0, block);
    glBitmap(8, 8, 0, 0, 10, 0, block);
    glFlush();
}

} // namespace

int main() {
    if (!MakeContext()) {
        std::puts("GL layer smoke: no WebGL context");
        return 1;
    }
    VARKO::GLLayer::ContextCreated(kWidth, kHeight);
    SetUpScene();
    const GLenum shininessError = glGetError();
    const GLuint texture = CheckerTexture();
    Draw(texture, SphereList());
    const GLenum error = glGetError();
    std::printf("GL layer smoke: shininess %#x, then %#x\n", shininessError, error);
    const bool ok = shininessError == GL_INVALID_VALUE && error == GL_NO_ERROR;
    emscripten_run_script(ok ? "document.title = 'drawn'" : "document.title = 'GL error'");
    return 0;
}
