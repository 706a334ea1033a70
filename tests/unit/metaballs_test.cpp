#include "app/metaballs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

using VARKO::METABALL;

// The paths written out term by term; a clock that moves on every read pins down when each term
// reads it.
class SteppingClock {
public:
    float operator()() { return 37.0f * float(reads++); }
    int reads = 0;
};

std::vector<VECTOR3D> ExpectedCentres(const float* times) {
    int next = 0;
    auto sin = [&](float rate) { return float(std::sin(double(times[next++] * rate))); };
    auto cos = [&](float rate) { return float(std::cos(double(times[next++] * rate))); };
    const float w = 2.0f * cos(1.0f / 600);
    std::vector<VECTOR3D> centres(10);
    auto set = [&](int ball, float x, float y) { centres[ball] = VECTOR3D(x, y, 3.0f); };
    // Comma operators keep the reads in order: x before y, term by term.
    float x, y;
    x = -4.0f * cos(1.0f / 700) - w, y = 4.0f * sin(1.0f / 600) - w, set(0, x, y);
    x = 5.0f * sin(1.0f / 400) + w, y = 5.0f * cos(1.0f / 400) - w, set(1, x, y);
    x = -5.0f * cos(1.0f / 400), x = x - 0.2f * sin(1.0f / 600);
    y = 5.0f * sin(1.0f / 500), y = y - 0.2f * sin(1.0f / 400), set(2, x, y);
    x = -3.0f * cos(1.0f / 200) - w, y = 3.0f * sin(1.0f / 100) - w, set(3, x, y);
    x = 2.0f * sin(1.0f / 900) + w, y = 2.0f * cos(1.0f / 1000) - w, set(4, x, y);
    x = -cos(1.0f / 700) - w, y = sin(1.0f / 400) - w, set(5, x, y);
    x = 2.0f * sin(1.0f / 700) + w, y = 2.0f * cos(1.0f / 400) - w, set(6, x, y);
    x = -3.0f * cos(1.0f / 300), x = x - 0.2f * sin(1.0f / 600);
    y = -3.0f * sin(1.0f / 500), y = y - 0.2f * sin(1.0f / 400), set(7, x, y);
    x = -cos(1.0f / 500) - w, y = sin(1.0f / 100) - w, set(8, x, y);
    x = 2.0f * sin(1.0f / 200) + w, y = 2.0f * cos(1.0f / 1000) - w, set(9, x, y);
    return centres;
}

void ExpectCentres(const METABALL* balls, const std::vector<VECTOR3D>& centres) {
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(balls[i].position == centres[i])
            << "ball " << i << " at " << balls[i].position.x << ", " << balls[i].position.y << ", "
            << balls[i].position.z;
    }
}

TEST(MetaballMotion, CentresAtTimeZero) {
    METABALL balls[10];
    for (METABALL& ball : balls) {
        ball.position.z = 3.0f; // only x and y are written
    }
    VARKO::MoveMetaballs(balls, [] { return 0.0f; });
    ExpectCentres(balls, {{-6, -2, 3},
                          {2, 3, 3},
                          {-5, 0, 3},
                          {-5, -2, 3},
                          {2, 0, 3},
                          {-3, -2, 3},
                          {2, 0, 3},
                          {-3, 0, 3},
                          {-3, -2, 3},
                          {2, 0, 3}});
}

TEST(MetaballMotion, EveryTermReadsTheClockInTurn) {
    METABALL balls[10];
    for (METABALL& ball : balls) {
        ball.position.z = 3.0f;
    }
    SteppingClock clock;
    VARKO::MoveMetaballs(balls, std::ref(clock));
    EXPECT_EQ(clock.reads, 25);
    float times[25];
    for (int i = 0; i < 25; ++i) {
        times[i] = 37.0f * float(i);
    }
    ExpectCentres(balls, ExpectedCentres(times));
}

void EvaluateBallByBall(std::vector<VARKO::CUBE_GRID_VERTEX>& points, const METABALL* balls,
                        int count) {
    for (auto& point : points) {
        point.value = 0.0f;
        point.normal.LoadZero();
    }
    for (int b = 0; b < count; ++b) {
        for (auto& point : points) {
            const VECTOR3D d = point.position - balls[b].position;
            float s = d.z * d.z + d.y * d.y + d.x * d.x;
            if (s == 0.0f) {
                s = 0.0001f;
            }
            point.value += balls[b].squaredRadius / s;
            const float k = balls[b].squaredRadius / (s * s);
            point.normal.x += k * d.x;
            point.normal.y += k * d.y;
            point.normal.z += k * d.z;
        }
    }
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class FieldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { reserved = grid.CreateMemory(); }
    static void TearDownTestSuite() { grid.FreeMemory(); }
    void SetUp() override { ASSERT_TRUE(reserved); }

    static inline VARKO::CUBE_GRID grid;
    static inline bool reserved = false;
};

// 8^3 points: not a whole number of the evaluation's blocks, so the tail is covered too.
TEST_F(FieldTest, MatchesBallByBallSummationBitForBit) {
    ASSERT_TRUE(grid.Init(7));
    std::mt19937 random(99);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    for (int count = 0; count <= 10; ++count) {
        METABALL balls[10];
        for (int b = 0; b < 10; ++b) {
            balls[b].Init(VECTOR3D(coordinate(random), coordinate(random), coordinate(random)),
                          float(b + 5));
        }
        // A centre on a grid point, and one at the origin, as the scene's balls often are.
        balls[0].position = grid.vertices[100].position;
        balls[1].position = VECTOR3D(0, 0, 0);
        std::vector<VARKO::CUBE_GRID_VERTEX> expected(grid.vertices,
                                                      grid.vertices + grid.numVertices);
        EvaluateBallByBall(expected, balls, count);
        VARKO::EvaluateField(grid, balls, count);
        for (int p = 0; p < grid.numVertices; ++p) {
            const auto& got = grid.vertices[p];
            ASSERT_TRUE(SameBits(got.value, expected[p].value) &&
                        SameBits(got.normal.x, expected[p].normal.x) &&
                        SameBits(got.normal.y, expected[p].normal.y) &&
                        SameBits(got.normal.z, expected[p].normal.z))
                << count << " balls, point " << p;
        }
    }
}

TEST_F(FieldTest, PointOnACentreTakesTheCappedValueAndNoNormal) {
    ASSERT_TRUE(grid.Init(2)); // point 13 is the origin
    METABALL balls[2];
    balls[0].Init(VECTOR3D(0, 0, 0), 5.0f);
    balls[1].Init(VECTOR3D(0, 2, 0), 8.0f);
    VARKO::EvaluateField(grid, balls, 1);
    EXPECT_EQ(grid.vertices[13].value, 5.0f / 0.0001f);
    EXPECT_TRUE(grid.vertices[13].normal == VECTOR3D(0, 0, 0));

    VARKO::EvaluateField(grid, balls, 2);
    EXPECT_EQ(grid.vertices[13].value, 5.0f / 0.0001f + 8.0f / 4.0f);
    EXPECT_TRUE(grid.vertices[13].normal == VECTOR3D(0, 8.0f / 16.0f * -2.0f, 0));
}

std::vector<int> HoldKeys(int count, bool up, bool down, int frames) {
    std::vector<int> counts;
    for (int frame = 0; frame < frames; ++frame) {
        count = VARKO::NextBallCount(count, up, down);
        counts.push_back(count);
    }
    return counts;
}

TEST(BallCountKeys, HeldKeysStepOncePerFrameWithinTwoToTen) {
    EXPECT_EQ(HoldKeys(10, false, true, 9), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 2}));
    EXPECT_EQ(HoldKeys(2, true, false, 9), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 10}));
    EXPECT_EQ(HoldKeys(10, true, true, 4), (std::vector<int>{9, 10, 9, 10}));
    EXPECT_EQ(HoldKeys(5, true, true, 1), (std::vector<int>{6}));
    EXPECT_EQ(HoldKeys(6, false, false, 2), (std::vector<int>{6, 6}));
}

} // namespace
