#pragma once
#include "app/cube_grid.h"
#include "math/color.h"
#include "src/opengl.h"
#include "src/state.h"
#include "src/timer.h"

namespace VARKO {

// The metaball scene and everything it keeps for the whole run. The program has one; tests make
// their own.
class MetaballScene {
public:
    void Draw(OpenGL* gl, ControlData* cont);
    void Init(OpenGL* gl, ControlData* cont);

    CUBE_GRID cubeGrid;
    int gridSize = 50;
    float threshold = 5.0f;
    METABALL metaballs[10];
    int numMetaballs = 10;
    COLOR diffuseColor;
    bool init = true;
    Timer timer;
    View view;

private:
    bool SetUpGrid(ControlData* cont);
    void SetUpGLState();
    void SetUpLightAndMaterial(ControlData* cont);
    void DrawSurface();
    void ReadKeys(OpenGL* gl);
};

extern MetaballScene scene;

} // namespace VARKO

// The scene entry the frame driver calls: set-up on the first frame, then one frame per call.
void DrawScene(VARKO::OpenGL* gl, VARKO::ControlData* cont);
void InitScene(VARKO::OpenGL* gl, VARKO::ControlData* cont);
