#pragma once

#include "app/cube_grid.h"

#include <cstdint>

// What the inner loops of the field and the extraction take, the same on every vector path (see
// vector_path.h). Each path compiles its own copy of kernels.inl over these records.
namespace VARKO::Surface {

// Where the field is sampled: the lattice CUBE_GRID::Init lays out, one plane of points (fixed x)
// after another. A point's x depends on its plane alone, y on its row and z on its place in the
// row. Within a plane the points to compute are listed as elements: their y and z and where the
// point's value, followed by its normal, lies (in floats from the plane's first value). The lists
// are padded with 16 readable elements past `elements`.
struct FieldLattice {
    int side; // points along each axis
    const float* planeX;
    const float* elementY;
    const float* elementZ;
    const int* offset;
    // Elements below pairedElements each have a mirror image in the same row whose z is exactly
    // the negated z; a point without an image names itself here. The images themselves follow, up
    // to `elements`.
    const int* mirrorOffset;
    int pairedElements;
    int elements;
};

// The balls whose field is summed. With every ball at z = 0 a point and its mirror image share
// all but the sign of the normal's z, and only the paired elements are computed.
struct FieldBalls {
    const METABALL* balls;
    int ballCount;
    bool allAtZeroZ;
};

// Where the field goes: every point's value and normal and, when notBelow is not null, the points'
// classification at threshold, as MarkNotBelow writes it.
struct FieldTarget {
    CUBE_GRID_VERTEX* points;
    std::uint64_t* notBelow;
    float threshold;
};

// Writes value and normal of every point: the sum over the balls in index order, bit for bit as a
// plain loop adding one ball after another. Allocates nothing.
using FieldKernel = void (*)(const FieldLattice& lattice, const FieldBalls& balls,
                             const FieldTarget& target);

// Bit p of notBelow (64 points a word) is set when points[p].value is not below threshold, for p
// from 0 to pointCount - 1; the bits of the last word past pointCount are cleared.
using MarkKernel = void (*)(const CUBE_GRID_VERTEX* points, int pointCount, float threshold,
                            std::uint64_t* notBelow);

} // namespace VARKO::Surface
