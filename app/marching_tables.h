#pragma once

// Constant tables of the marching-cubes extraction, for the corner numbering of CUBE_GRID_CUBE:
// corners 0 to 3 go round the cell's lower-x face, corner c + 4 lies one step along x from c.
namespace VARKO {

// Corner c of a cell lies cornerSteps[c] = (di, dj, dk) points from its lowest point.
inline constexpr int cornerSteps[8][3] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0},
                                          {1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}};
// Edge e runs from corner verticesAtEndsOfEdges[2e] to corner verticesAtEndsOfEdges[2e + 1].
extern const int verticesAtEndsOfEdges[24];
// Indexed by the cell index (bit c set when corner c is below the threshold): the edges it cuts.
extern const int edgeTable[256];
// Indexed by the cell index: up to five triangles as edge-number triples, then -1.
extern const int triTable[256][16];

} // namespace VARKO
