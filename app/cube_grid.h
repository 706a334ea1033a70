#pragma once

#include "math/vector3d.h"

#include <cstdint>
#include <type_traits>

namespace VARKO {

namespace Surface {
struct Lattice;
}

// One lattice point. The scene rewrites value and normal before every surface pass; the
// constructor leaves value unset.
class CUBE_GRID_VERTEX {
public:
    VECTOR3D position;
    float value;
    VECTOR3D normal;
};

// The grid hands out its points from zero-filled pages that it never constructs one by one, which
// is only valid for a type whose objects may begin to exist implicitly.
static_assert(std::is_trivially_copyable_v<CUBE_GRID_VERTEX>);
static_assert(std::is_trivially_destructible_v<CUBE_GRID_VERTEX>);

// One cell: its eight corner points (not owned; neighbouring cells share them). Corners 0 to 3 go
// round the lower-x face at steps (0,0,0), (0,0,1), (0,1,1), (0,1,0); corner c + 4 is one step
// along x from corner c.
class CUBE_GRID_CUBE {
public:
    CUBE_GRID_VERTEX* vertices[8];
};

// One point of the extracted surface.
class SURFACE_VERTEX {
public:
    VECTOR3D position;
    VECTOR3D normal;
};

// One ball of the field; squaredRadius is its strength. The constructor leaves it unset.
class METABALL {
public:
    VECTOR3D position;
    float squaredRadius;

    void Init(VECTOR3D newPosition, float newSquaredRadius) {
        position = newPosition;
        squaredRadius = newSquaredRadius;
    }
};

// The sampling lattice over the box from -10 to +10 and the marching-cubes extraction over it.
class CUBE_GRID {
public:
    static constexpr int maxGridSize = 250;

    int numVertices = 0;
    CUBE_GRID_VERTEX* vertices = nullptr;
    int numCubes = 0;
    CUBE_GRID_CUBE* cubes = nullptr;
    int numFacesDrawn = 0;

    CUBE_GRID() = default;
    ~CUBE_GRID() { FreeMemory(); }
    CUBE_GRID(const CUBE_GRID&) = delete;
    CUBE_GRID& operator=(const CUBE_GRID&) = delete;

    // Reserves room for the largest grid, once. Pages are committed as Init and the field touch
    // them, so memory in use follows the size in use. False when either array is refused.
    bool CreateMemory();
    void FreeMemory();
    // Lays out gridSize cells per axis. Needs a successful CreateMemory and 1 <= gridSize <= 250.
    bool Init(int gridSize);
    // Emits the iso-surface at threshold as one GL_TRIANGLES batch, from the values the points hold
    // now, whoever wrote them. Needs value and normal written for all numVertices points, and the
    // points and cells as Init laid them out. Allocates nothing.
    void DrawSurface(float threshold);
    // The scene's per-frame pass: writes every point's value and normal as EvaluateField does and
    // draws the surface at threshold as DrawSurface would from them, classifying the points while
    // the field writes them. Allocates nothing.
    void DrawFieldSurface(const METABALL* balls, int ballCount, float threshold);

private:
    friend void EvaluateField(CUBE_GRID& grid, const METABALL* balls, int ballCount);

    // Built by Init, kept for the run; null until CreateMemory succeeds.
    Surface::Lattice* lattice = nullptr;
};

} // namespace VARKO
