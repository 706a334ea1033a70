#pragma once
#include "app/cube_grid.h"
#include "math/color.h"
#include "src/display_list.h"
#include "src/envmap.h"
#include "src/opengl.h"
#include "src/state.h"
#include "src/text.h"
#include "src/texture.h"
#include "src/timer.h"

#include <functional>

namespace VARKO {

// The metaball scene and everything it keeps for the whole run. The program has one; tests make
// their own.
class MetaballScene {
public:
    void Draw(OpenGL* gl, ControlData* cont);
    void Init(OpenGL* gl, ControlData* cont);
    // The frame's surface: the balls moved to the time now() gives, then their field drawn as a
    // surface, lit and turned for the time now() gives next.
    void DrawSurface(const std::function<float()>& now);
    // Around whatever draws the surface: the buffers cleared, lighting on and the view moved back
    // and turned for `now` ms; EndSurface switches the lighting off again.
    void BeginSurface(float now);
    void EndSurface();

    CUBE_GRID cubeGrid;
    int gridSize = 50;
    float threshold = 5.0f;
    METABALL metaballs[10];
    int numMetaballs = 10;
    COLOR diffuseColor;
    bool init = true;
    Timer timer;
    View view;

    // Reflection mapping of the surface.
    Texture tex;
    EnvMap envmap;
    DisplayList dlist;
    unsigned int sphere = 0;

    // Backdrop and statistics.
    Text2D txt;
    unsigned int bgid = 0;
    int fps = 0;
    int fpsct = 0;

private:
    bool SetUpGrid();
    void SetUpGLState();
    void SetUpLightAndMaterial(ControlData* cont);
    void SetUpTextures(ControlData* cont);
    void ReadKeys(OpenGL* gl);
    void DrawBackdrop(ControlData* cont);
    void SampleFrameRate(ControlData* cont);
    void DrawStatistics(ControlData* cont);
};

extern MetaballScene scene;

} // namespace VARKO

// The scene entry the frame driver calls: set-up on the first frame, then one frame per call.
void DrawScene(VARKO::OpenGL* gl, VARKO::ControlData* cont);
void InitScene(VARKO::OpenGL* gl, VARKO::ControlData* cont);
