#include "app/cube_grid.h"

#include "app/marching_tables.h"
#include "app/surface/lattice.h"

#include "src/gl_api.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace VARKO {

namespace {

constexpr int maxPointsPerSide = CUBE_GRID::maxGridSize + 1;
constexpr std::size_t pointCapacity =
    std::size_t(maxPointsPerSide) * maxPointsPerSide * maxPointsPerSide;
constexpr std::size_t cellCapacity =
    std::size_t(CUBE_GRID::maxGridSize) * CUBE_GRID::maxGridSize * CUBE_GRID::maxGridSize;

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
    if (void* memory = std::calloc(1, sizeof(Surface::Lattice))) {
        lattice = new (memory) Surface::Lattice; // no parentheses: its arrays stay untouched
    }
    return cubes != nullptr && lattice != nullptr;
}

void CUBE_GRID::FreeMemory() {
    std::free(vertices);
    vertices = nullptr;
    numVertices = 0;
    std::free(cubes);
    cubes = nullptr;
    numCubes = 0;
    std::free(lattice);
    lattice = nullptr;
}

bool CUBE_GRID::Init(int gridSize) {
    // Anything else would write outside the arrays.
    if (vertices == nullptr || cubes == nullptr || lattice == nullptr || gridSize < 1 ||
        gridSize > maxGridSize) {
        return false;
    }
    const int n = gridSize;
    const int side = n + 1;
    numVertices = side * side * side;
    CUBE_GRID_VERTEX* point = vertices;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            for (int k = 0; k <= n; ++k, ++point) {
                point->position.Set(Surface::Lattice::Coordinate(i, n),
                                    Surface::Lattice::Coordinate(j, n),
                                    Surface::Lattice::Coordinate(k, n));
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
    lattice->Build(n);
    return true;
}

void CUBE_GRID::DrawSurface(float threshold) {
    numFacesDrawn = 0;
    glBegin(GL_TRIANGLES);
    if (lattice != nullptr) {
        numFacesDrawn = lattice->extraction.Draw(vertices, lattice->notBelow, false, threshold);
    }
    glEnd();
}

// The field's bits go straight to the extraction that follows, with nothing in between that could
// change a value.
void CUBE_GRID::DrawFieldSurface(const METABALL* balls, int ballCount, float threshold) {
    numFacesDrawn = 0;
    glBegin(GL_TRIANGLES);
    if (lattice != nullptr) {
        lattice->field.Evaluate(vertices, balls, ballCount, lattice->notBelow, threshold);
        numFacesDrawn = lattice->extraction.Draw(vertices, lattice->notBelow, true, threshold);
    }
    glEnd();
}

} // namespace VARKO
