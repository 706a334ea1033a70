#include "app/surface/straightforward.h"

#include "app/marching_tables.h"

namespace Straightforward {

void EvaluateField(VARKO::CUBE_GRID& grid, const VARKO::METABALL* balls, int count) {
    VARKO::CUBE_GRID_VERTEX* points = grid.vertices;
    for (int p = 0; p < grid.numVertices; ++p) {
        points[p].value = 0.0f;
        points[p].normal.LoadZero();
    }
    for (int b = 0; b < count; ++b) {
        const VECTOR3D centre = balls[b].position;
        const float r2 = balls[b].squaredRadius;
        for (int p = 0; p < grid.numVertices; ++p) {
            const VECTOR3D d = points[p].position - centre;
            float s = d.z * d.z + d.y * d.y + d.x * d.x;
            if (s == 0.0f) {
                s = 0.0001f;
            }
            points[p].value += r2 / s;
            const float k = r2 / (s * s);
            points[p].normal.x += k * d.x;
            points[p].normal.y += k * d.y;
            points[p].normal.z += k * d.z;
        }
    }
}

int ExtractSurface(const VARKO::CUBE_GRID& grid, float threshold, std::vector<EmittedVertex>& out) {
    out.clear();
    EmittedVertex edgePoints[12];
    int triangles = 0;
    for (int c = 0; c < grid.numCubes; ++c) {
        VARKO::CUBE_GRID_VERTEX* const* corners = grid.cubes[c].vertices;
        int cellIndex = 0;
        for (int corner = 0; corner < 8; ++corner) {
            if (corners[corner]->value < threshold) {
                cellIndex |= 1 << corner;
            }
        }
        const int edgeMask = VARKO::edgeTable[cellIndex];
        if (edgeMask == 0) {
            continue;
        }
        for (int edge = 0; edge < 12; ++edge) {
            if ((edgeMask & (1 << edge)) == 0) {
                continue;
            }
            const VARKO::CUBE_GRID_VERTEX& a = *corners[VARKO::verticesAtEndsOfEdges[2 * edge]];
            const VARKO::CUBE_GRID_VERTEX& b = *corners[VARKO::verticesAtEndsOfEdges[2 * edge + 1]];
            const float t = (threshold - a.value) / (b.value - a.value);
            edgePoints[edge].position = (b.position - a.position) * t + a.position;
            edgePoints[edge].normal = (b.normal - a.normal) * t + a.normal;
        }
        for (const int* row = VARKO::triTable[cellIndex]; *row != -1; row += 3, ++triangles) {
            out.push_back(edgePoints[row[0]]);
            out.push_back(edgePoints[row[2]]);
            out.push_back(edgePoints[row[1]]);
        }
    }
    return triangles;
}

} // namespace Straightforward
