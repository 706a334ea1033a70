#pragma once

#include "app/cube_grid.h"

#include <cstdint>

// The inner loops of the field and of the surface extraction, one copy per vector path (see
// vector_path.h). Each copy is compiled for its own instruction set; the entry points below run
// the copy of the active path.
namespace VARKO::VectorKernels {

// The field over a regular lattice, one plane of points (fixed x) after another. Within a plane the
// points to compute are listed as elements: y and z coordinates and where the point's value,
// followed by its normal, lies (in floats from the plane's first value). Elements below `mirrored`
// also stand for the point at their mirror offset, whose z is exactly the negated z: with every
// ball at z = 0 that point has the same value and normal but for the normal's z, which is 0 - z.
// A point without a mirror image names itself: its own values are written after the image's.
// The lists are padded with 16 readable elements past `elements`. On the way every point is
// classified as MarkNotBelow does, into notBelow (`points` is the first point, planePoints points a
// plane).
struct FieldJob {
    float* firstValue;
    int planes;
    int planeFloats;
    int side; // points along each axis
    const float* planeX;
    const float* y;
    const float* z;
    const int* offset;
    const int* mirrorOffset;
    int mirrored;
    int elements;
    const METABALL* balls;
    int count;
    const CUBE_GRID_VERTEX* points;
    std::uint64_t* notBelow;
    float threshold;
    int planePoints;
};

void EvaluateField(const FieldJob& job);

// Bit p of bits (64 points a word) is set when points[p].value is not below the threshold, for p
// from 0 to count - 1; the bits of the last word past count are cleared.
void MarkNotBelow(const CUBE_GRID_VERTEX* points, int count, float threshold, std::uint64_t* bits);

// One copy per path; only the portable one exists in builds without the x86 paths.
void EvaluateFieldPortable(const FieldJob& job);
void MarkNotBelowPortable(const CUBE_GRID_VERTEX* points, int count, float threshold,
                          std::uint64_t* bits);
#ifdef VARKO_X86_VECTOR_PATHS
void EvaluateFieldSse2(const FieldJob& job);
void MarkNotBelowSse2(const CUBE_GRID_VERTEX* points, int count, float threshold,
                      std::uint64_t* bits);
void EvaluateFieldAvx2(const FieldJob& job);
void MarkNotBelowAvx2(const CUBE_GRID_VERTEX* points, int count, float threshold,
                      std::uint64_t* bits);
void EvaluateFieldAvx512(const FieldJob& job);
void MarkNotBelowAvx512(const CUBE_GRID_VERTEX* points, int count, float threshold,
                        std::uint64_t* bits);
#endif

} // namespace VARKO::VectorKernels
