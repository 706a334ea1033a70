#pragma once
#include "src/values.h"

#include <cstdint>

#include "src/gl_api.h"

namespace VARKO {

// Stored as a plain 32-bit integer: values outside the four named ones are legal.
enum Blending : std::int32_t {
    BlendNone = 0,
    BlendAlpha = 1,
    BlendAdditive = 2,
    BlendSourceColour = 3,
};

extern const GLenum GLLights[8];

// Cache of the GL enables switched most often. Each setter talks to GL only when the requested
// state differs from the cached one, so callers may set states unconditionally every frame. The
// cache is right only while these capabilities are switched through it alone.
class StateManager {
public:
    StateManager();

    void SetTexturing(bool state);
    void SetLighting(bool state);
    void SetDepthTest(bool state);
    bool GetDepthTest() const { return depthTest; }
    void SetLight(int lightno, bool state);
    void SetBlending(Blending state);
    void SetColour(Colour col);
    void SetColour(ColourAlpha col);

    void GetView(Matrix& mat);
    void GetProjection(Matrix& mat);
    void SetView(Matrix mat);
    void SetProjection(Matrix mat);

    // Pixel-exact overlay: origin top-left, y down, depth test off; Set3DMode undoes it.
    void Set2DMode();
    void Set3DMode();

    bool texturing = false;
    bool lighting = false;
    bool depthTest = false;
    bool mode2D = false;
    bool lights[8] = {};
    Blending blending = BlendNone;
    Matrix savedProjection;
    Matrix savedView;
    bool savedDepthTest = false;
};

// Operations on the modelview matrix and the raster position.
class View {
public:
    void Reset();
    void Translate(float x, float y, float z);
    void Rotate(float angle, float x, float y, float z);
    void Scale(float x, float y, float z);
    void Pos2D(int x, int y);
    void Pos2D(float x, float y);
    void LookAt(Vector pos, Vector at, Vector up);
    void Save();
    void Restore();
};

} // namespace VARKO
