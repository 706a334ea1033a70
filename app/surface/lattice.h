#pragma once

#include "app/surface/extraction.h"
#include "app/surface/field.h"

#include <cstdint>
#include <type_traits>

// What the field and the extraction know about one grid's lattice, built by CUBE_GRID::Init and
// kept for the run. It belongs to the grid alone and is never public: the grid's points mean what
// they say whoever wrote them.
namespace VARKO::Surface {

struct Lattice {
    // The coordinate of point m along any axis, for n cells per side.
    static float Coordinate(int m, int n) { return float(m) * 20.0f / float(n) - 10.0f; }

    void Build(int cellsPerSide);

    FieldPlan field;
    ExtractionPlan extraction;
    // One bit per point, set when its value is not below the threshold being drawn.
    std::uint64_t notBelow[ExtractionPlan::bitWords];
};

// The grid frees it without running a destructor.
static_assert(std::is_trivially_destructible_v<Lattice>);

} // namespace VARKO::Surface
