#include "app/metaballs.h"

#include "app/vector_kernels.h"

#include <cmath>
#include <cstddef>
#include <cstring>

namespace VARKO {

namespace {

// Path rates: the float nearest 1/n, multiplied by the time in float.
constexpr float over100 = 1.0f / 100.0f;
constexpr float over200 = 1.0f / 200.0f;
constexpr float over300 = 1.0f / 300.0f;
constexpr float over400 = 1.0f / 400.0f;
constexpr float over500 = 1.0f / 500.0f;
constexpr float over600 = 1.0f / 600.0f;
constexpr float over700 = 1.0f / 700.0f;
constexpr float over900 = 1.0f / 900.0f;
constexpr float over1000 = 1.0f / 1000.0f;

using Clock = std::function<float()>;

float Sin(const Clock& now, float rate) {
    return float(std::sin(double(now() * rate)));
}
float Cos(const Clock& now, float rate) {
    return float(std::cos(double(now() * rate)));
}

// One term of a path: amplitude times a wave of the time, or times the shared swing w.
enum class Wave { Sine, Cosine, Swing };
struct Term {
    float amplitude;
    Wave wave;
    float rate;
};
struct Coordinate {
    Term first;
    Term second;
};

constexpr Term minusSwing{-1.0f, Wave::Swing, 0.0f};
constexpr Term plusSwing{1.0f, Wave::Swing, 0.0f};

// x and y of each ball.
constexpr Coordinate paths[maxMetaballs][2] = {
    {{{-4.0f, Wave::Cosine, over700}, minusSwing}, {{4.0f, Wave::Sine, over600}, minusSwing}},
    {{{5.0f, Wave::Sine, over400}, plusSwing}, {{5.0f, Wave::Cosine, over400}, minusSwing}},
    {{{-5.0f, Wave::Cosine, over400}, {-0.2f, Wave::Sine, over600}},
     {{5.0f, Wave::Sine, over500}, {-0.2f, Wave::Sine, over400}}},
    {{{-3.0f, Wave::Cosine, over200}, minusSwing}, {{3.0f, Wave::Sine, over100}, minusSwing}},
    {{{2.0f, Wave::Sine, over900}, plusSwing}, {{2.0f, Wave::Cosine, over1000}, minusSwing}},
    {{{-1.0f, Wave::Cosine, over700}, minusSwing}, {{1.0f, Wave::Sine, over400}, minusSwing}},
    {{{2.0f, Wave::Sine, over700}, plusSwing}, {{2.0f, Wave::Cosine, over400}, minusSwing}},
    {{{-3.0f, Wave::Cosine, over300}, {-0.2f, Wave::Sine, over600}},
     {{-3.0f, Wave::Sine, over500}, {-0.2f, Wave::Sine, over400}}},
    {{{-1.0f, Wave::Cosine, over500}, minusSwing}, {{1.0f, Wave::Sine, over100}, minusSwing}},
    {{{2.0f, Wave::Sine, over200}, plusSwing}, {{2.0f, Wave::Cosine, over1000}, minusSwing}},
};

// Only wave terms read the clock, each afresh. Multiplying by +-1 and adding a negated term give
// the same floats as the plain sums and differences of the paths.
float Evaluate(const Term& term, const Clock& now, float w) {
    switch (term.wave) {
    case Wave::Sine:
        return term.amplitude * Sin(now, term.rate);
    case Wave::Cosine:
        return term.amplitude * Cos(now, term.rate);
    case Wave::Swing:
        break;
    }
    return term.amplitude * w;
}

float Evaluate(const Coordinate& coordinate, const Clock& now, float w) {
    float sum = Evaluate(coordinate.first, now, w);
    sum += Evaluate(coordinate.second, now, w);
    return sum;
}

// The field is evaluated on the lattice that CUBE_GRID::Init lays out: a point's x depends on its
// plane alone, y on its row and z on its place in the row, so the vector kernels take the three
// axes' coordinates instead of reading every position. Where the z axis is symmetric bit for bit
// about 0 and every ball sits at z = 0, a point and its mirror image share all but the sign of the
// normal's z, and only one of the two is computed.
constexpr int floatsPerPoint = int(sizeof(CUBE_GRID_VERTEX) / sizeof(float));
static_assert(sizeof(CUBE_GRID_VERTEX) == 7 * sizeof(float) &&
                  offsetof(CUBE_GRID_VERTEX, normal) == offsetof(CUBE_GRID_VERTEX, value) + 4,
              "the kernels write value and normal as four consecutive floats");

constexpr int maxSide = CUBE_GRID::maxGridSize + 1;
// Points with their mirror images, then the images (computed when the balls leave z = 0).
constexpr int maxElements = maxSide * maxSide + maxSide * (maxSide / 2) + 16;

struct FieldLayout {
    int side = 0;
    float x[maxSide], y[maxSide], z[maxSide];
    int halves = 0;   // elements [0, halves): a point and its mirror image (or itself again)
    int elements = 0; // elements [halves, elements): the mirror images of the pairs
    float elementY[maxElements], elementZ[maxElements];
    int offset[maxElements], mirrorOffset[maxElements];
};

// Kept from call to call and rebuilt only when the lattice changes.
FieldLayout layout;

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The lattice's side, or 0 when the point count is not a cube.
int SideOf(const CUBE_GRID& grid) {
    int side = 0;
    while (side < maxSide && (side + 1) * (side + 1) * (side + 1) <= grid.numVertices) {
        ++side;
    }
    return side * side * side == grid.numVertices ? side : 0;
}

bool SameAxes(const CUBE_GRID& grid, int side) {
    if (side != layout.side) {
        return false;
    }
    for (int m = 0; m < side; ++m) {
        if (!SameBits(layout.x[m], grid.vertices[m * side * side].position.x) ||
            !SameBits(layout.y[m], grid.vertices[m * side].position.y) ||
            !SameBits(layout.z[m], grid.vertices[m].position.z)) {
            return false;
        }
    }
    return true;
}

void AddElement(int& e, float y, float z, int offset, int mirrorOffset) {
    layout.elementY[e] = y;
    layout.elementZ[e] = z;
    layout.offset[e] = offset;
    layout.mirrorOffset[e] = mirrorOffset;
    ++e;
}

void BuildLayout(const CUBE_GRID& grid, int side) {
    layout.side = side;
    for (int m = 0; m < side; ++m) {
        layout.x[m] = grid.vertices[m * side * side].position.x;
        layout.y[m] = grid.vertices[m * side].position.y;
        layout.z[m] = grid.vertices[m].position.z;
    }
    const int last = side - 1;
    auto paired = [&](int k) { return last - k > k && SameBits(layout.z[last - k], -layout.z[k]); };
    auto at = [&](int j, int k) { return (j * side + k) * floatsPerPoint; };
    // Row by row in storage order, so that a plane is written in one sweep. A point without a
    // mirror image names itself as its mirror; the kernels write its true values last.
    int e = 0;
    for (int j = 0; j < side; ++j) {
        for (int k = 0; k < side; ++k) {
            if (paired(k)) {
                AddElement(e, layout.y[j], layout.z[k], at(j, k), at(j, last - k));
            } else if (!paired(last - k)) {
                AddElement(e, layout.y[j], layout.z[k], at(j, k), at(j, k));
            }
        }
    }
    layout.halves = e;
    for (int j = 0; j < side; ++j) {
        for (int k = 0; k < side; ++k) {
            if (paired(last - k)) {
                AddElement(e, layout.y[j], layout.z[k], at(j, k), 0);
            }
        }
    }
    layout.elements = e;
    // The kernels read whole vectors past the end.
    for (int pad = 0; pad < 16; ++pad) {
        AddElement(e, 0.0f, 0.0f, 0, 0);
    }
}

bool AllAtZeroZ(const METABALL* balls, int count) {
    for (int b = 0; b < count; ++b) {
        if (balls[b].position.z != 0.0f) {
            return false;
        }
    }
    return true;
}

} // namespace

void MoveMetaballs(METABALL* balls, const std::function<float()>& now) {
    const float w = 2.0f * Cos(now, over600);
    for (int i = 0; i < maxMetaballs; ++i) {
        balls[i].position.x = Evaluate(paths[i][0], now, w);
        balls[i].position.y = Evaluate(paths[i][1], now, w);
    }
}

void EvaluateField(CUBE_GRID& grid, const METABALL* balls, int count) {
    const int side = SideOf(grid);
    if (side == 0) {
        return;
    }
    if (!SameAxes(grid, side)) {
        BuildLayout(grid, side);
    }
    const bool mirror = AllAtZeroZ(balls, count);
    VectorKernels::FieldJob job;
    job.firstValue = &grid.vertices[0].value;
    job.planes = side;
    job.planeFloats = side * side * floatsPerPoint;
    job.side = side;
    job.planeX = layout.x;
    job.y = layout.elementY;
    job.z = layout.elementZ;
    job.offset = layout.offset;
    job.mirrorOffset = layout.mirrorOffset;
    job.mirrored = mirror ? layout.halves : 0;
    job.elements = mirror ? layout.halves : layout.elements;
    job.balls = balls;
    job.count = count;
    // The points are classified on the way for the surface that follows.
    job.points = grid.vertices;
    job.notBelow = grid.pointClasses;
    job.threshold = grid.classifiedAt;
    job.planePoints = side * side;
    VectorKernels::EvaluateField(job);
    grid.classified = true;
}

int NextBallCount(int count, bool up, bool down) {
    if (up && count < maxMetaballs) {
        return count + 1;
    }
    if (down && count > minMetaballs) {
        return count - 1;
    }
    return count;
}

} // namespace VARKO
