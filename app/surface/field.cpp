#include "app/surface/field.h"

#include "app/surface/vector_path.h"

#include <cstddef>
#include <cstring>

namespace VARKO::Surface {

namespace {

constexpr int floatsPerPoint = int(sizeof(CUBE_GRID_VERTEX) / sizeof(float));
static_assert(sizeof(CUBE_GRID_VERTEX) == 7 * sizeof(float) &&
                  offsetof(CUBE_GRID_VERTEX, normal) == offsetof(CUBE_GRID_VERTEX, value) + 4,
              "the kernels write value and normal as four consecutive floats");

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool AllAtZeroZ(const METABALL* balls, int ballCount) {
    for (int b = 0; b < ballCount; ++b) {
        if (balls[b].position.z != 0.0f) {
            return false;
        }
    }
    return true;
}

} // namespace

void FieldPlan::AddElement(int row, int k, int mirrorK) {
    elementY[elements] = coordinate[row];
    elementZ[elements] = coordinate[k];
    offset[elements] = (row * side + k) * floatsPerPoint;
    mirrorOffset[elements] = (row * side + mirrorK) * floatsPerPoint;
    ++elements;
}

// Where the z axis is symmetric bit for bit about 0, a point and its mirror image are listed as
// one element. Row by row in storage order, so that a plane is written in one sweep. A point
// without a mirror image names itself as its mirror; the kernels write its true values last.
void FieldPlan::Build(const float* coordinates, int cellsPerSide) {
    side = cellsPerSide + 1;
    std::memcpy(coordinate, coordinates, sizeof(float) * std::size_t(side));
    const int last = side - 1;
    auto paired = [&](int k) {
        return last - k > k && SameBits(coordinate[last - k], -coordinate[k]);
    };
    elements = 0;
    for (int row = 0; row < side; ++row) {
        for (int k = 0; k < side; ++k) {
            if (paired(k)) {
                AddElement(row, k, last - k);
            } else if (!paired(last - k)) {
                AddElement(row, k, k);
            }
        }
    }
    pairedElements = elements;
    for (int row = 0; row < side; ++row) {
        for (int k = 0; k < side; ++k) {
            if (paired(last - k)) {
                AddElement(row, k, k);
            }
        }
    }
    // The kernels read whole vectors past the end.
    for (int pad = 0; pad < 16; ++pad) {
        AddElement(0, 0, 0);
    }
    elements -= 16;
}

void FieldPlan::Evaluate(CUBE_GRID_VERTEX* points, const METABALL* balls, int ballCount,
                         std::uint64_t* notBelow, float threshold) const {
    if (side == 0) {
        return;
    }
    const FieldLattice lattice{side,   coordinate,   elementY,       elementZ,
                               offset, mirrorOffset, pairedElements, elements};
    ActiveVectorPath().field(lattice, {balls, ballCount, AllAtZeroZ(balls, ballCount)},
                             {points, notBelow, threshold});
}

} // namespace VARKO::Surface
