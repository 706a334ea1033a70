#pragma once

#include "app/surface/kernels.h"

#include <cstdint>

// The field's fast path: the lattice's planes, rows and mirror images worked out once per lattice,
// then every frame the active vector path's field kernel over them.
namespace VARKO::Surface {

constexpr int maxSide = CUBE_GRID::maxGridSize + 1;

class FieldPlan {
public:
    // For a lattice of cellsPerSide cells each way whose points sit at coordinates[i], [j], [k].
    void Build(const float* coordinates, int cellsPerSide);
    // Writes value and normal of every point of the lattice from the first ballCount balls and,
    // when notBelow is not null, classifies the points at threshold on the way.
    void Evaluate(CUBE_GRID_VERTEX* points, const METABALL* balls, int ballCount,
                  std::uint64_t* notBelow, float threshold) const;

private:
    void AddElement(int row, int k, int mirrorK);

    // Points with their mirror images, then the images; padded for whole-vector reads.
    static constexpr int maxElements = maxSide * maxSide + maxSide * (maxSide / 2) + 16;

    int side = 0;
    float coordinate[maxSide];
    int pairedElements = 0;
    int elements = 0;
    float elementY[maxElements], elementZ[maxElements];
    int offset[maxElements], mirrorOffset[maxElements];
};

} // namespace VARKO::Surface
