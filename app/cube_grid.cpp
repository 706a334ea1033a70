#include "app/cube_grid.h"

#include "app/marching_tables.h"
#include "app/vector_kernels.h"

#include "src/gl_api.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace VARKO {

namespace {

constexpr int maxPointsPerSide = CUBE_GRID::maxGridSize + 1;
constexpr std::size_t pointCapacity =
    std::size_t(maxPointsPerSide) * maxPointsPerSide * maxPointsPerSide;
constexpr std::size_t cellCapacity =
    std::size_t(CUBE_GRID::maxGridSize) * CUBE_GRID::maxGridSize * CUBE_GRID::maxGridSize;

// Scratch for the surface points of the current cell, one per edge; kept between calls.
SURFACE_VERTEX edgeVertices[12];

// The point bits, with one spare word that lets BitsAt read past the end.
constexpr std::size_t classWords = pointCapacity / 64 + 2;

// Corner steps (di, dj, dk) from a cell's lowest point, in corner order.
constexpr int cornerSteps[8][3] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0},
                                   {1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}};

float GridCoordinate(int m, int n) {
    return float(m) * 20.0f / float(n) - 10.0f;
}

// The 64 point bits from bit `first` on.
std::uint64_t BitsAt(const std::uint64_t* bits, std::size_t first) {
    const std::size_t word = first / 64;
    const unsigned shift = unsigned(first % 64);
    const std::uint64_t low = bits[word] >> shift;
    return shift == 0 ? low : low | bits[word + 1] << (64 - shift);
}

// A row of up to 64 cells along z: bit k of corner[c] is set when corner c of cell k is below the
// threshold.
struct CellRow {
    std::uint64_t corner[8];

    // The cells with corners on both sides of the threshold.
    std::uint64_t Cut() const {
        std::uint64_t all = ~std::uint64_t(0), any = 0;
        for (std::uint64_t bits : corner) {
            all &= bits;
            any |= bits;
        }
        return any & ~all;
    }

    int CellIndex(int k) const {
        int index = 0;
        for (int c = 0; c < 8; ++c) {
            index |= int((corner[c] >> k) & 1) << c;
        }
        return index;
    }
};

// The below-threshold bits of each point row of one lattice plane, 64 points a chunk: from the
// chunk's first point, and from the point after it. Worked out once per plane, they serve both
// layers of cells that share the plane.
constexpr int chunksPerRow = (maxPointsPerSide + 63) / 64;
struct PlaneRows {
    std::uint64_t below[maxPointsPerSide][chunksPerRow][2];
};
PlaneRows planeRows[2];

void FillPlaneRows(PlaneRows& rows, const std::uint64_t* notBelow, std::size_t planeFirst,
                   std::size_t side, int chunks) {
    for (std::size_t j = 0; j < side; ++j) {
        for (int chunk = 0; chunk < chunks; ++chunk) {
            const std::size_t first = planeFirst + j * side + std::size_t(chunk) * 64;
            rows.below[j][chunk][0] = ~BitsAt(notBelow, first);
            rows.below[j][chunk][1] = ~BitsAt(notBelow, first + 1);
        }
    }
}

// The cells of row j, chunk `chunk`, between the lower and the upper plane.
CellRow RowBetween(const PlaneRows& lower, const PlaneRows& upper, int j, int chunk) {
    const std::uint64_t* a = lower.below[j][chunk];
    const std::uint64_t* b = lower.below[j + 1][chunk];
    const std::uint64_t* c = upper.below[j][chunk];
    const std::uint64_t* d = upper.below[j + 1][chunk];
    return {{a[0], a[1], b[1], b[0], c[0], c[1], d[1], d[0]}};
}

// Where each edge's two ends lie, in points from a cell's corner 0.
struct EdgeEnds {
    std::ptrdiff_t first[12], second[12];
};

EdgeEnds EdgeEndsFor(std::ptrdiff_t side) {
    std::ptrdiff_t corner[8];
    for (int c = 0; c < 8; ++c) {
        corner[c] = (cornerSteps[c][0] * side + cornerSteps[c][1]) * side + cornerSteps[c][2];
    }
    EdgeEnds ends;
    for (int edge = 0; edge < 12; ++edge) {
        ends.first[edge] = corner[verticesAtEndsOfEdges[2 * edge]];
        ends.second[edge] = corner[verticesAtEndsOfEdges[2 * edge + 1]];
    }
    return ends;
}

// Four consecutive floats of a point: position and value, or value and normal. Each lane is
// interpolated with the same single-precision steps as one coordinate.
using Quad = float __attribute__((vector_size(16)));

Quad QuadAt(const float* first) {
    Quad quad;
    std::memcpy(&quad, first, sizeof quad);
    return quad;
}

void CutEdges(const CUBE_GRID_VERTEX* cornerZero, const EdgeEnds& ends, int edgeMask,
              float threshold) {
    for (unsigned cut = unsigned(edgeMask); cut != 0; cut &= cut - 1) {
        const int edge = std::countr_zero(cut);
        const CUBE_GRID_VERTEX& a = cornerZero[ends.first[edge]];
        const CUBE_GRID_VERTEX& b = cornerZero[ends.second[edge]];
        // A cut edge has one end below the threshold and one not, so the values differ.
        const float t = (threshold - a.value) / (b.value - a.value);
        const Quad aPosition = QuadAt(&a.position.x), aNormal = QuadAt(&a.value);
        const Quad position = (QuadAt(&b.position.x) - aPosition) * t + aPosition;
        const Quad normal = (QuadAt(&b.value) - aNormal) * t + aNormal;
        edgeVertices[edge].position.Set(position[0], position[1], position[2]);
        edgeVertices[edge].normal.Set(normal[1], normal[2], normal[3]);
    }
}

void EmitVertex(int edge) {
    glNormal3fv(edgeVertices[edge].normal);
    glVertex3fv(edgeVertices[edge].position);
}

// Emitting p, r, q makes each triangle counter-clockwise seen from outside the balls.
int EmitTriangles(const int* row) {
    int triangles = 0;
    for (; *row != -1; row += 3, ++triangles) {
        EmitVertex(row[0]);
        EmitVertex(row[2]);
        EmitVertex(row[1]);
    }
    return triangles;
}

} // namespace

bool CUBE_GRID::CreateMemory() {
    FreeMemory();
    // calloc hands big blocks out as untouched zero pages: nothing is resident until used, and a
    // zero-filled point is a constructed one (position and normal at the origin).
    vertices = static_cast<CUBE_GRID_VERTEX*>(std::calloc(pointCapacity, sizeof(CUBE_GRID_VERTEX)));
    if (vertices == nullptr) {
        return false;
    }
    cubes = static_cast<CUBE_GRID_CUBE*>(std::calloc(cellCapacity, sizeof(CUBE_GRID_CUBE)));
    pointClasses = static_cast<std::uint64_t*>(std::calloc(classWords, sizeof(std::uint64_t)));
    return cubes != nullptr && pointClasses != nullptr;
}

void CUBE_GRID::FreeMemory() {
    std::free(vertices);
    vertices = nullptr;
    numVertices = 0;
    std::free(cubes);
    cubes = nullptr;
    numCubes = 0;
    std::free(pointClasses);
    pointClasses = nullptr;
    classified = false;
}

bool CUBE_GRID::Init(int gridSize) {
    // Anything else would write outside the arrays.
    if (vertices == nullptr || cubes == nullptr || pointClasses == nullptr || gridSize < 1 ||
        gridSize > maxGridSize) {
        return false;
    }
    classified = false;
    const int n = gridSize;
    const int side = n + 1;
    numVertices = side * side * side;
    CUBE_GRID_VERTEX* point = vertices;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            for (int k = 0; k <= n; ++k, ++point) {
                point->position.Set(GridCoordinate(i, n), GridCoordinate(j, n),
                                    GridCoordinate(k, n));
            }
        }
    }

    numCubes = n * n * n;
    CUBE_GRID_CUBE* cube = cubes;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k, ++cube) {
                for (int corner = 0; corner < 8; ++corner) {
                    const int* step = cornerSteps[corner];
                    cube->vertices[corner] = vertices + (i + step[0]) * side * side +
                                             (j + step[1]) * side + (k + step[2]);
                }
            }
        }
    }
    return true;
}

namespace {

// The cells per side of a lattice laid out by Init, or 0.
int CellsPerSide(int numCubes, int numVertices) {
    int n = 0;
    while (n < CUBE_GRID::maxGridSize && (n + 1) * (n + 1) * (n + 1) <= numCubes) {
        ++n;
    }
    return n * n * n == numCubes && (n + 1) * (n + 1) * (n + 1) == numVertices ? n : 0;
}

} // namespace

// Only cut cells reach the tables: the point bits rule out runs of up to 64 cells at once, and the
// cells that remain are visited in index order, so the triangles come out in the same order as
// from a visit of every cell. A cell's corners are found from its place in the lattice rather than
// through its stored pointers, which saves a trip to the large cell array per cut cell.
void CUBE_GRID::DrawSurface(float threshold) {
    numFacesDrawn = 0;
    glBegin(GL_TRIANGLES);
    const int n = CellsPerSide(numCubes, numVertices);
    const std::size_t side = std::size_t(n) + 1;
    const std::size_t plane = side * side;
    const EdgeEnds ends = EdgeEndsFor(std::ptrdiff_t(side));
    const int chunks = (n + 63) / 64;
    // Unless the field has classified the points for this threshold, they are classified here a
    // plane ahead of the cells that use them, while they are still in the cache for those cells'
    // cut edges. Marking goes in whole words of 64 points.
    std::size_t marked = classified && classifiedAt == threshold ? std::size_t(numVertices) : 0;
    classified = false;
    classifiedAt = threshold;
    for (int i = 0; i < n; ++i) {
        const std::size_t needed = std::min((i + 2) * plane, std::size_t(numVertices));
        if (marked < needed) {
            const std::size_t upTo = std::min((needed + 63) / 64 * 64, std::size_t(numVertices));
            VectorKernels::MarkNotBelow(vertices + marked, int(upTo - marked), threshold,
                                        pointClasses + marked / 64);
            marked = upTo;
        }
        if (i == 0) {
            FillPlaneRows(planeRows[0], pointClasses, 0, side, chunks);
        }
        FillPlaneRows(planeRows[(i + 1) % 2], pointClasses, (i + 1) * plane, side, chunks);
        const PlaneRows& lower = planeRows[i % 2];
        const PlaneRows& upper = planeRows[(i + 1) % 2];
        for (int j = 0; j < n; ++j) {
            for (int k0 = 0; k0 < n; k0 += 64) {
                const std::size_t first = (i * side + j) * side + k0;
                const CellRow row = RowBetween(lower, upper, j, k0 / 64);
                std::uint64_t cut = row.Cut();
                if (n - k0 < 64) {
                    cut &= (std::uint64_t(1) << (n - k0)) - 1;
                }
                for (; cut != 0; cut &= cut - 1) {
                    const int k = std::countr_zero(cut);
                    const int cellIndex = row.CellIndex(k);
                    CutEdges(vertices + first + k, ends, edgeTable[cellIndex], threshold);
                    numFacesDrawn += EmitTriangles(triTable[cellIndex]);
                }
            }
        }
    }
    glEnd();
}

} // namespace VARKO
