#pragma once

#include "app/cube_grid.h"

#include <functional>

// The balls' motion and field: processor work only, no GL, so tools can run it headless.
namespace VARKO {

constexpr int maxMetaballs = 10;
constexpr int minMetaballs = 2;

// Moves all maxMetaballs balls (active or not) along their paths, writing x and y only. now()
// gives the animation time in milliseconds; it is read afresh for every term of the paths.
void MoveMetaballs(METABALL* balls, const std::function<float()>& now);

// Writes value and normal of every point in use: the sum over the first ballCount balls of
// r2 / |p - c|^2 and r2 (p - c) / |p - c|^4, the squared distance 0 read as 0.0001. The result is
// bit-identical to adding the balls one after another in index order, on every vector path. The
// points must keep the lattice positions CUBE_GRID::Init gave them. Allocates nothing.
void EvaluateField(CUBE_GRID& grid, const METABALL* balls, int ballCount);

// The ball count after one frame of the arrow keys: Up wins while below maxMetaballs, else Down,
// never leaving minMetaballs..maxMetaballs.
int NextBallCount(int count, bool up, bool down);

} // namespace VARKO
