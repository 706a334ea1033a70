#pragma once
#include "src/opengl.h"

// The metaball scene: set-up on the first frame, then one frame of the demo per call.
void DrawScene(VARKO::OpenGL* gl, VARKO::ControlData* cont);
void InitScene(VARKO::OpenGL* gl, VARKO::ControlData* cont);
