#include "tests/web_gl/lit_sphere_scene.h"

#include "src/gl_api.h"

#include <vector>

namespace WebGLSmoke {
namespace {

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
    // The demo's light and material: a specular exponent GL refuses, so specular light at the
    // exponent 0, and a positional light beside it.
    const GLfloat ambient[] = {0.2f, 0.2f, 0.3f, 1}, position[] = {-1, 1, 1, 0};
    const GLfloat specular[] = {0.3f, 0.2f, 1, 1}, white[] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glEnable(GL_LIGHT1);
    const GLfloat lamp[] = {2, -2, 2, 1}, red[] = {0.6f, 0.1f, 0.1f, 1};
    glLightfv(GL_LIGHT2, GL_POSITION, lamp);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, red);
    glLightf(GL_LIGHT2, GL_LINEAR_ATTENUATION, 0.2f);
    glEnable(GL_LIGHT2);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
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
    glColor3f(1, 0.85f, 0.7f); // tracked as ambient and diffuse material
    glCallList(sphere);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    // A face turned to the light but away from the viewer's half-way vector: at the exponent 0
    // Mesa still gives it the full specular light.
    glNormal3f(-0.7f, 0.7f, -0.6f);
    glBegin(GL_QUADS);
    glVertex3f(-2.6f, -2, 0), glVertex3f(-1.8f, -2, 0), glVertex3f(-1.8f, -1.2f, 0);
    glVertex3f(-2.6f, -1.2f, 0);
    glEnd();
    glDisable(GL_LIGHTING);
    const GLubyte block[8] = {0xFF, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0xFF};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows of one byte, as the glyph builders set it
    glColor3f(1, 1, 0);
    glRasterPos3f(-2.0f, 1.6f, 0.0f);
    glBitmap(8, 8, 0, 0, 10, 0, block);
    glBitmap(8, 8, 0, 0, 10, 0, block);
    glFlush();
}

} // namespace

void DrawScene(unsigned int& setUpError, unsigned int& drawError) {
    SetUpScene();
    setUpError = glGetError();
    const GLuint texture = CheckerTexture();
    Draw(texture, SphereList());
    drawError = glGetError();
}

} // namespace WebGLSmoke
