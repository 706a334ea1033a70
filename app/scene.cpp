#include "app/scene.h"

#include "app/metaballs.h"

#include <GL/gl.h>

namespace VARKO {
namespace {

const int kVirtualKeyUp = 0x26;
const int kVirtualKeyDown = 0x28;
const float kDegreesPerMillisecond = 1.0f / 30.0f; // one turn in 10.8 s

void ReportSetupFailure(const char* text, ControlData* cont) {
    Platform::ShowMessage(text, "LumoGL Example Error", Platform::MessageButtons::Ok,
                          Platform::MessageIcon::Exclamation);
    cont->quit = true;
}

} // namespace

MetaballScene scene;

void MetaballScene::Init(OpenGL*, ControlData* cont) {
    if (!SetUpGrid(cont)) {
        return;
    }
    for (int i = 0; i < numMetaballs; ++i) {
        metaballs[i].Init(VECTOR3D(0, 0, 0), static_cast<float>(i) + 5.0f);
    }
    diffuseColor = COLOR(1, 1, 1, 1);
    SetUpGLState();
    SetUpLightAndMaterial(cont);
}

// The grid's memory is reserved once for the largest grid; without it nothing can be drawn.
bool MetaballScene::SetUpGrid(ControlData* cont) {
    if (!cubeGrid.CreateMemory()) {
        cubeGrid.FreeMemory();
        ReportSetupFailure("Cannot allocate memory for the metaball grid.", cont);
        return false;
    }
    cubeGrid.Init(gridSize);
    return true;
}

void MetaballScene::SetUpGLState() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
}

void MetaballScene::SetUpLightAndMaterial(ControlData* cont) {
    // Light 1 is set with the identity modelview, so its direction stays fixed in eye space.
    const GLfloat ambient[] = {0.2f, 0.2f, 0.3f, 1.0f};
    const GLfloat position[] = {-1.0f, 1.0f, 1.0f, 0.0f};
    const GLfloat specular[] = {0.3f, 0.2f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuseColor);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glEnable(GL_LIGHT1);

    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
    // GL refuses exponents above 128, so the surface keeps the default exponent of 0.
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 312.0f);

    cont->state->SetLighting(true);
    cont->state->SetLight(0, true);
}

void MetaballScene::Draw(OpenGL* gl, ControlData* cont) {
    if (init) {
        Init(gl, cont);
        if (cont->quit) {
            return;
        }
        init = false;
    }
    MoveMetaballs(metaballs, [this] { return timer.GetTime(); });
    EvaluateField(cubeGrid, metaballs, numMetaballs);
    DrawSurface();
    ReadKeys(gl);
    // Light 0 lights the first frame only; texturing is back on for the next frame's surface.
    cont->state->SetTexturing(false);
    cont->state->SetLight(0, false);
    cont->state->SetLighting(false);
    cont->state->SetTexturing(true);
}

void MetaballScene::DrawSurface() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glTranslatef(0.0f, 0.0f, -30.0f);
    glRotatef(timer.GetTime() * kDegreesPerMillisecond, 1.0f, 0.0f, 1.0f);
    cubeGrid.DrawSurface(threshold);
    glDisable(GL_LIGHTING);
}

void MetaballScene::ReadKeys(OpenGL* gl) {
    Window* window = gl->GetWindow();
    bool up = window->GetKey(kVirtualKeyUp);
    // Down is read only when Up does not apply, as a held Up wins below the maximum.
    bool down = !(up && numMetaballs < maxMetaballs) && window->GetKey(kVirtualKeyDown);
    numMetaballs = NextBallCount(numMetaballs, up, down);
}

} // namespace VARKO

void DrawScene(VARKO::OpenGL* gl, VARKO::ControlData* cont) {
    VARKO::scene.Draw(gl, cont);
}

void InitScene(VARKO::OpenGL* gl, VARKO::ControlData* cont) {
    VARKO::scene.Init(gl, cont);
}
