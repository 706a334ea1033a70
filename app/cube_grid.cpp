#include "app/cube_grid.h"

#include "app/marching_tables.h"

#include "src/gl_api.h"
#include <cstdlib>

namespace VARKO {

namespace {

constexpr int maxPointsPerSide = CUBE_GRID::maxGridSize + 1;
constexpr std::size_t pointCapacity =
    std::size_t(maxPointsPerSide) * maxPointsPerSide * maxPointsPerSide;
constexpr std::size_t cellCapacity =
    std::size_t(CUBE_GRID::maxGridSize) * CUBE_GRID::maxGridSize * CUBE_GRID::maxGridSize;

// Scratch for the surface points of the current cell, one per edge; kept between calls.
SURFACE_VERTEX edgeVertices[12];

// Corner steps (di, dj, dk) from a cell's lowest point, in corner order.
constexpr int cornerSteps[8][3] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0},
                                   {1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}};

float GridCoordinate(int m, int n) {
    return float(m) * 20.0f / float(n) - 10.0f;
}

int CellIndex(const CUBE_GRID_CUBE& cube, float threshold) {
    int index = 0;
    for (int corner = 0; corner < 8; ++corner) {
        if (cube.vertices[corner]->value < threshold) {
            index |= 1 << corner;
        }
    }
    return index;
}

float Lerp(float a, float b, float t) {
    return (b - a) * t + a;
}

VECTOR3D Lerp(const VECTOR3D& a, const VECTOR3D& b, float t) {
    return VECTOR3D(Lerp(a.x, b.x, t), Lerp(a.y, b.y, t), Lerp(a.z, b.z, t));
}

void CutEdges(const CUBE_GRID_CUBE& cube, int edgeMask, float threshold) {
    for (int edge = 0; edge < 12; ++edge) {
        if ((edgeMask & (1 << edge)) == 0) {
            continue;
        }
        const CUBE_GRID_VERTEX& a = *cube.vertices[verticesAtEndsOfEdges[2 * edge]];
        const CUBE_GRID_VERTEX& b = *cube.vertices[verticesAtEndsOfEdges[2 * edge + 1]];
        // A cut edge has one end below the threshold and one not, so the values differ.
        const float t = (threshold - a.value) / (b.value - a.value);
        edgeVertices[edge].position = Lerp(a.position, b.position, t);
        edgeVertices[edge].normal = Lerp(a.normal, b.normal, t);
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
    return cubes != nullptr;
}

void CUBE_GRID::FreeMemory() {
    std::free(vertices);
    vertices = nullptr;
    numVertices = 0;
    std::free(cubes);
    cubes = nullptr;
    numCubes = 0;
}

bool CUBE_GRID::Init(int gridSize) {
    // Anything else would write outside the arrays.
    if (vertices == nullptr || cubes == nullptr || gridSize < 1 || gridSize > maxGridSize) {
        return false;
    }
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

void CUBE_GRID::DrawSurface(float threshold) {
    numFacesDrawn = 0;
    glBegin(GL_TRIANGLES);
    for (int c = 0; c < numCubes; ++c) {
        const CUBE_GRID_CUBE& cube = cubes[c];
        const int cellIndex = CellIndex(cube, threshold);
        const int edgeMask = edgeTable[cellIndex];
        if (edgeMask == 0) {
            continue;
        }
        CutEdges(cube, edgeMask, threshold);
        numFacesDrawn += EmitTriangles(triTable[cellIndex]);
    }
    glEnd();
}

} // namespace VARKO
