#include "app/metaballs.h"

#include <algorithm>
#include <cmath>

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

// Points are taken in blocks copied into separate coordinate arrays, so that the per-ball loop
// over a block runs on vector registers; each point still adds the balls one by one in order.
constexpr int blockSize = 256;

struct FieldBlock {
    float x[blockSize], y[blockSize], z[blockSize];
    float value[blockSize], normalX[blockSize], normalY[blockSize], normalZ[blockSize];
};

void LoadBlock(FieldBlock& block, const CUBE_GRID_VERTEX* points, int count) {
    for (int i = 0; i < count; ++i) {
        block.x[i] = points[i].position.x;
        block.y[i] = points[i].position.y;
        block.z[i] = points[i].position.z;
    }
    // The unused tail of the last block is computed on harmless zeros and never stored.
    for (int i = count; i < blockSize; ++i) {
        block.x[i] = block.y[i] = block.z[i] = 0.0f;
    }
    for (int i = 0; i < blockSize; ++i) {
        block.value[i] = block.normalX[i] = block.normalY[i] = block.normalZ[i] = 0.0f;
    }
}

void AddBall(FieldBlock& block, const METABALL& ball) {
    const float ballX = ball.position.x;
    const float ballY = ball.position.y;
    const float ballZ = ball.position.z;
    const float r2 = ball.squaredRadius;
    for (int i = 0; i < blockSize; ++i) {
        const float dx = block.x[i] - ballX;
        const float dy = block.y[i] - ballY;
        const float dz = block.z[i] - ballZ;
        float s = dz * dz + dy * dy + dx * dx;
        // A point on the centre gets a large but finite value and no normal from this ball. Written
        // without a branch so the loop vectorises; s is never negative, so s + 0 is s itself.
        s += float(s == 0.0f) * 0.0001f;
        block.value[i] += r2 / s;
        const float k = r2 / (s * s);
        block.normalX[i] += k * dx;
        block.normalY[i] += k * dy;
        block.normalZ[i] += k * dz;
    }
}

void StoreBlock(const FieldBlock& block, CUBE_GRID_VERTEX* points, int count) {
    for (int i = 0; i < count; ++i) {
        points[i].value = block.value[i];
        points[i].normal.Set(block.normalX[i], block.normalY[i], block.normalZ[i]);
    }
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
    FieldBlock block;
    for (int start = 0; start < grid.numVertices; start += blockSize) {
        CUBE_GRID_VERTEX* points = grid.vertices + start;
        const int inBlock = std::min(blockSize, grid.numVertices - start);
        LoadBlock(block, points, inBlock);
        for (int b = 0; b < count; ++b) {
            AddBall(block, balls[b]);
        }
        StoreBlock(block, points, inBlock);
    }
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
