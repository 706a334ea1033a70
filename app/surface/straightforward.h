#pragma once

#include "app/cube_grid.h"

#include <vector>

// The scene's per-frame work as plain loops: the field ball by ball over the array of points, and
// the extraction cell by cell through the corner pointers. The tools time the product's path
// against these and check that both give the same bits.
namespace Straightforward {

// One vertex as the extraction sends it: the normal first, then the position.
struct EmittedVertex {
    VECTOR3D normal;
    VECTOR3D position;
};

void EvaluateField(VARKO::CUBE_GRID& grid, const VARKO::METABALL* balls, int count);

// Replaces the contents of out with the surface's vertices in the order they would be sent;
// returns the number of triangles.
int ExtractSurface(const VARKO::CUBE_GRID& grid, float threshold, std::vector<EmittedVertex>& out);

} // namespace Straightforward
