#include "app/metaballs.h"

#include "app/surface/lattice.h"

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

} // namespace

void MoveMetaballs(METABALL* balls, const std::function<float()>& now) {
    const float w = 2.0f * Cos(now, over600);
    for (int i = 0; i < maxMetaballs; ++i) {
        balls[i].position.x = Evaluate(paths[i][0], now, w);
        balls[i].position.y = Evaluate(paths[i][1], now, w);
    }
}

void EvaluateField(CUBE_GRID& grid, const METABALL* balls, int ballCount) {
    if (grid.lattice != nullptr) {
        grid.lattice->field.Evaluate(grid.vertices, balls, ballCount, nullptr, 0.0f);
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
