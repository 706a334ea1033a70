#include "src/state.h"

#include "src/exception.h"

#include "src/gl_api.h"

namespace VARKO {
namespace {

const char* const kSourceFile = ".\\src\\state";

void Switch(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

// Sets `cached` and the GL capability when they differ.
void SwitchCached(bool& cached, GLenum capability, bool state) {
    if (cached != state) {
        Switch(capability, state);
        cached = state;
    }
}

} // namespace

const GLenum GLLights[8] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                            GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};

StateManager::StateManager() {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    for (GLenum light : GLLights) {
        glDisable(light);
    }
    depthTest = true;
    glEnable(GL_DEPTH_TEST);
}

void StateManager::SetTexturing(bool state) {
    SwitchCached(texturing, GL_TEXTURE_2D, state);
}

void StateManager::SetLighting(bool state) {
    SwitchCached(lighting, GL_LIGHTING, state);
}

void StateManager::SetDepthTest(bool state) {
    SwitchCached(depthTest, GL_DEPTH_TEST, state);
}

void StateManager::SetLight(int lightno, bool state) {
    if (lightno < 0 || lightno > 7) {
        throw LumoException(__LINE__, kSourceFile,
                            "StateManager :: SetLight - Light index out of range.");
    }
    SwitchCached(lights[lightno], GLLights[lightno], state);
}

void StateManager::SetBlending(Blending state) {
    if (state == blending) {
        return;
    }
    switch (state) {
    case BlendNone:
        glDisable(GL_BLEND);
        break;
    case BlendAlpha:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BlendAdditive:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    default: // BlendSourceColour, and any other value
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_SRC_COLOR);
        break;
    }
    blending = state;
}

void StateManager::SetColour(Colour col) {
    glColor3f(col.r, col.g, col.b);
}

void StateManager::SetColour(ColourAlpha col) {
    glColor4f(col.r, col.g, col.b, col.a);
}

void StateManager::GetView(Matrix& mat) {
    glGetFloatv(GL_MODELVIEW_MATRIX, mat.m);
}

void StateManager::GetProjection(Matrix& mat) {
    glGetFloatv(GL_PROJECTION_MATRIX, mat.m);
}

void StateManager::SetView(Matrix mat) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(mat.m);
}

void StateManager::SetProjection(Matrix mat) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(mat.m);
    glMatrixMode(GL_MODELVIEW);
}

void StateManager::Set2DMode() {
    GetView(savedView);
    GetProjection(savedProjection);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewport[2], viewport[3], 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    savedDepthTest = depthTest;
    if (depthTest) {
        SetDepthTest(false);
    }
    mode2D = true;
}

void StateManager::Set3DMode() {
    if (!mode2D) {
        return;
    }
    SetProjection(savedProjection);
    SetView(savedView);
    SetDepthTest(savedDepthTest);
    mode2D = false;
}

void View::Reset() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void View::Translate(float x, float y, float z) {
    glTranslatef(x, y, z);
}

void View::Rotate(float angle, float x, float y, float z) {
    glRotatef(angle, x, y, z);
}

void View::Scale(float x, float y, float z) {
    glScalef(x, y, z);
}

void View::Pos2D(int x, int y) {
    glRasterPos2i(x, y);
}

void View::Pos2D(float x, float y) {
    glRasterPos2f(x, y);
}

void View::LookAt(Vector pos, Vector at, Vector up) {
    gluLookAt(pos.x, pos.y, pos.z, at.x, at.y, at.z, up.x, up.y, up.z);
}

void View::Save() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void View::Restore() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

} // namespace VARKO
