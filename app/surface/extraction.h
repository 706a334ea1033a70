#pragma once

#include "app/surface/field.h"

#include <cstddef>
#include <cstdint>

// The extraction's fast path: marching cubes over point bits, so that only cut cells reach the
// tables. Gives the same triangles, in the same order, as a visit of every cell.
namespace VARKO::Surface {

class ExtractionPlan {
public:
    void Build(int cellsPerSide);
    // Sends the surface at threshold through glNormal3fv and glVertex3fv and returns the number of
    // triangles; the caller brackets it with glBegin and glEnd. notBelow holds one bit per point
    // plus a spare word. When `classified` is set, the field has just filled it for this
    // threshold; otherwise the points are classified here from their values.
    int Draw(const CUBE_GRID_VERTEX* points, std::uint64_t* notBelow, bool classified,
             float threshold);

    // The point bits for a lattice of the largest size, with one spare word read past the end.
    static constexpr std::size_t bitWords = std::size_t(maxSide) * maxSide * maxSide / 64 + 2;

private:
    // The below-threshold bits of each point row of one lattice plane, 64 points a chunk: from the
    // chunk's first point, and from the point after it. Worked out once per plane, they serve both
    // layers of cells that share the plane.
    static constexpr int chunksPerRow = (maxSide + 63) / 64;
    struct PlaneRows {
        std::uint64_t below[maxSide][chunksPerRow][2];
    };

    void FillPlaneRows(PlaneRows& rows, const std::uint64_t* notBelow, int plane) const;
    int DrawLayer(const CUBE_GRID_VERTEX* points, int i, float threshold);
    void CutEdges(const CUBE_GRID_VERTEX* cornerZero, int edgeMask, float threshold);
    int EmitTriangles(const int* row) const;

    int cells = 0;
    std::ptrdiff_t side = 0;
    int chunks = 0;
    // Where each edge's two ends lie, in points from a cell's corner 0.
    std::ptrdiff_t firstEnd[12], secondEnd[12];
    PlaneRows planeRows[2];
    // The surface points of the current cell, one per edge.
    SURFACE_VERTEX edgePoints[12];
};

} // namespace VARKO::Surface
