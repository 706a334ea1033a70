#include "app/scene.h"

#include "app/metaballs.h"

#include "src/gl_api.h"
#include "src/message_box.h"

namespace VARKO {
namespace {

const int kVirtualKeyUp = 0x26;
const int kVirtualKeyDown = 0x28;
const float kDegreesPerMillisecond = 1.0f / 30.0f; // one turn in 10.8 s

void ReportSetupFailure(const char* text, ControlData* cont) {
    ShowMessageBox(text, "LumoGL Example Error", Platform::MessageButtons::Ok,
                   Platform::MessageIcon::Exclamation);
    cont->quit = true;
}

} // namespace

MetaballScene scene;

void MetaballScene::Init(OpenGL* gl, ControlData* cont) {
    TextType type;
    type.font = "Viner Hand ITC";
    type.size = 20;
    type.bold = true;
    type.italic = false;
    type.underline = false;
    txt.Setup(gl, type);

    // The display list records nothing; it is opened and closed around the ball set-up.
    sphere = dlist.Start();
    if (sphere == 0) {
        cont->quit = true;
        return;
    }
    bool gridReady = SetUpGrid();
    for (int i = 0; i < numMetaballs; ++i) {
        metaballs[i].Init(VECTOR3D(0, 0, 0), static_cast<float>(i) + 5.0f);
    }
    dlist.End();
    if (!gridReady) {
        ReportSetupFailure("Cannot allocate memory for the metaball grid.", cont);
        return;
    }
    diffuseColor = COLOR(1, 1, 1, 1);
    SetUpGLState();
    SetUpLightAndMaterial(cont);
    SetUpTextures(cont);
}

void MetaballScene::SetUpTextures(ControlData* cont) {
    unsigned int id = tex.Load("data/Reflect.jpg");
    if (id == 0) {
        ReportSetupFailure("Cannot load reflection texture.", cont);
        return;
    }
    envmap.Setup(id, &tex);
    bgid = tex.Load("data/bg.jpg");
    if (bgid == 0) {
        ReportSetupFailure("Cannot load beckground texture.", cont);
    }
}

// The grid's memory is reserved once for the largest grid; without it nothing can be drawn.
bool MetaballScene::SetUpGrid() {
    if (!cubeGrid.CreateMemory()) {
        cubeGrid.FreeMemory();
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
    envmap.On();
    dlist.Execute(sphere);
    DrawSurface([this] { return timer.GetTime(); });
    ReadKeys(gl);
    DrawBackdrop(cont);
    // Light 0 lights the first frame only.
    cont->state->SetTexturing(false);
    cont->state->SetLight(0, false);
    cont->state->SetLighting(false);
    SampleFrameRate(cont);
    DrawStatistics(cont);
    // Texturing is back on for the next frame's surface.
    cont->state->SetTexturing(true);
}

// A 60 x 60 square at z = -50, behind the surface; depth testing leaves it only the free pixels.
void MetaballScene::DrawBackdrop(ControlData* cont) {
    envmap.Off();
    cont->state->SetColour(Colour(1, 1, 1));
    tex.Set(bgid);
    view.Reset();
    view.Translate(0, 0, -50);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex3f(-30, -30, 0);
    glTexCoord2f(1, 0);
    glVertex3f(30, -30, 0);
    glTexCoord2f(1, 1);
    glVertex3f(30, 30, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-30, 30, 0);
    glEnd();
}

// The rate on display is one frame's rate, held for about as many frames as it names.
void MetaballScene::SampleFrameRate(ControlData* cont) {
    if (fpsct == 0) {
        fps = cont->fps;
        fpsct = 1;
    } else if (fpsct >= cont->fps) {
        fpsct = 0;
    } else {
        fpsct += 1;
    }
}

void MetaballScene::DrawStatistics(ControlData* cont) {
    // The colour comes before the raster position, which takes it for the glyphs.
    cont->state->SetColour(Colour(1, 1, 1));
    cont->state->SetTexturing(false);
    view.Reset();
    view.Translate(0, 0, -0.11f);
    view.Pos2D(-0.058f, 0.035f);
    txt << "FPS: " << fps;
    view.Reset();
    view.Translate(0, 0, -0.11f);
    view.Pos2D(-0.058f, 0.03f);
    txt << "N. Metaballs: " << numMetaballs;
}

void MetaballScene::DrawSurface(const std::function<float()>& now) {
    MoveMetaballs(metaballs, now);
    BeginSurface(now());
    cubeGrid.DrawFieldSurface(metaballs, numMetaballs, threshold);
    EndSurface();
}

void MetaballScene::BeginSurface(float now) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glTranslatef(0.0f, 0.0f, -30.0f);
    glRotatef(now * kDegreesPerMillisecond, 1.0f, 0.0f, 1.0f);
}

void MetaballScene::EndSurface() {
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
