#include "app/surface/extraction.h"

#include "app/marching_tables.h"
#include "app/surface/vector_path.h"

#include "src/gl_api.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace VARKO::Surface {

namespace {

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

// Four consecutive floats of a point: position and value, or value and normal. Each lane is
// interpolated with the same single-precision steps as one coordinate.
using Quad = float __attribute__((vector_size(16)));

Quad QuadAt(const float* first) {
    Quad quad;
    std::memcpy(&quad, first, sizeof quad);
    return quad;
}

void EmitVertex(const SURFACE_VERTEX& vertex) {
    glNormal3fv(vertex.normal);
    glVertex3fv(vertex.position);
}

} // namespace

void ExtractionPlan::Build(int cellsPerSide) {
    cells = cellsPerSide;
    side = cellsPerSide + 1;
    chunks = (cellsPerSide + 63) / 64;
    std::ptrdiff_t corner[8];
    for (int c = 0; c < 8; ++c) {
        corner[c] = (cornerSteps[c][0] * side + cornerSteps[c][1]) * side + cornerSteps[c][2];
    }
    for (int edge = 0; edge < 12; ++edge) {
        firstEnd[edge] = corner[verticesAtEndsOfEdges[2 * edge]];
        secondEnd[edge] = corner[verticesAtEndsOfEdges[2 * edge + 1]];
    }
}

void ExtractionPlan::FillPlaneRows(PlaneRows& rows, const std::uint64_t* notBelow,
                                   int plane) const {
    const std::size_t planeFirst = std::size_t(plane) * std::size_t(side * side);
    for (std::size_t j = 0; j < std::size_t(side); ++j) {
        for (int chunk = 0; chunk < chunks; ++chunk) {
            const std::size_t first = planeFirst + j * std::size_t(side) + std::size_t(chunk) * 64;
            rows.below[j][chunk][0] = ~BitsAt(notBelow, first);
            rows.below[j][chunk][1] = ~BitsAt(notBelow, first + 1);
        }
    }
}

void ExtractionPlan::CutEdges(const CUBE_GRID_VERTEX* cornerZero, int edgeMask, float threshold) {
    for (unsigned cut = unsigned(edgeMask); cut != 0; cut &= cut - 1) {
        const int edge = std::countr_zero(cut);
        const CUBE_GRID_VERTEX& a = cornerZero[firstEnd[edge]];
        const CUBE_GRID_VERTEX& b = cornerZero[secondEnd[edge]];
        // A cut edge has one end below the threshold and one not, so the values differ.
        const float t = (threshold - a.value) / (b.value - a.value);
        const Quad aPosition = QuadAt(&a.position.x), aNormal = QuadAt(&a.value);
        const Quad position = (QuadAt(&b.position.x) - aPosition) * t + aPosition;
        const Quad normal = (QuadAt(&b.value) - aNormal) * t + aNormal;
        edgePoints[edge].position.Set(position[0], position[1], position[2]);
        edgePoints[edge].normal.Set(normal[1], normal[2], normal[3]);
    }
}

// Emitting p, r, q makes each triangle counter-clockwise seen from outside the balls.
int ExtractionPlan::EmitTriangles(const int* row) const {
    int triangles = 0;
    for (; *row != -1; row += 3, ++triangles) {
        EmitVertex(edgePoints[row[0]]);
        EmitVertex(edgePoints[row[2]]);
        EmitVertex(edgePoints[row[1]]);
    }
    return triangles;
}

// The cells between planes i and i + 1, whose rows are in planeRows[i % 2] and [(i + 1) % 2].
// The cells that remain after the bits rule out runs of up to 64 are visited in index order. A
// cell's corners are found from its place in the lattice rather than through its stored pointers,
// which saves a trip to the large cell array per cut cell.
int ExtractionPlan::DrawLayer(const CUBE_GRID_VERTEX* points, int i, float threshold) {
    const PlaneRows& lower = planeRows[i % 2];
    const PlaneRows& upper = planeRows[(i + 1) % 2];
    // Kept in registers across the GL calls, which could otherwise change them as far as the
    // compiler knows.
    const int n = cells;
    const std::ptrdiff_t rowPoints = side;
    int triangles = 0;
    for (int j = 0; j < n; ++j) {
        for (int k0 = 0; k0 < n; k0 += 64) {
            const int chunk = k0 / 64;
            const std::uint64_t* a = lower.below[j][chunk];
            const std::uint64_t* b = lower.below[j + 1][chunk];
            const std::uint64_t* c = upper.below[j][chunk];
            const std::uint64_t* d = upper.below[j + 1][chunk];
            const CellRow row{{a[0], a[1], b[1], b[0], c[0], c[1], d[1], d[0]}};
            std::uint64_t cut = row.Cut();
            if (n - k0 < 64) {
                cut &= (std::uint64_t(1) << (n - k0)) - 1;
            }
            const CUBE_GRID_VERTEX* first = points + (i * rowPoints + j) * rowPoints + k0;
            for (; cut != 0; cut &= cut - 1) {
                const int k = std::countr_zero(cut);
                const int cellIndex = row.CellIndex(k);
                CutEdges(first + k, edgeTable[cellIndex], threshold);
                triangles += EmitTriangles(triTable[cellIndex]);
            }
        }
    }
    return triangles;
}

// Unless the field has classified the points, they are classified here a plane ahead of the
// cells that use them, while they are still in the cache for those cells' cut edges. Marking goes
// in whole words of 64 points.
int ExtractionPlan::Draw(const CUBE_GRID_VERTEX* points, std::uint64_t* notBelow, bool classified,
                         float threshold) {
    const std::size_t plane = std::size_t(side * side);
    const std::size_t pointCount = plane * std::size_t(side);
    std::size_t marked = classified ? pointCount : 0;
    const MarkKernel mark = ActiveVectorPath().markNotBelow;
    int triangles = 0;
    for (int i = 0; i < cells; ++i) {
        const std::size_t needed = std::min((i + 2) * plane, pointCount);
        if (marked < needed) {
            const std::size_t upTo = std::min((needed + 63) / 64 * 64, pointCount);
            mark(points + marked, int(upTo - marked), threshold, notBelow + marked / 64);
            marked = upTo;
        }
        if (i == 0) {
            FillPlaneRows(planeRows[0], notBelow, 0);
        }
        FillPlaneRows(planeRows[(i + 1) % 2], notBelow, i + 1);
        triangles += DrawLayer(points, i, threshold);
    }
    return triangles;
}

} // namespace VARKO::Surface
