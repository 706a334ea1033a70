#include "app/cube_grid.h"
#include "app/metaballs.h"
#include "tests/support/gl_fake.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

namespace FakeGL = VARKO::Testing::GL;
using VARKO::CUBE_GRID;

struct EmittedVertex {
    VECTOR3D normal;
    VECTOR3D position;
};

VECTOR3D ArgsToVector(const FakeGL::Call& call) {
    return VECTOR3D(float(call.args.at(0)), float(call.args.at(1)), float(call.args.at(2)));
}

// The surface as the grid sent it: normal-vertex pairs, checked to sit inside one triangle batch.
std::vector<EmittedVertex> EmittedVertices() {
    const std::vector<FakeGL::Call>& calls = FakeGL::Calls();
    std::vector<EmittedVertex> vertices;
    EXPECT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front().name, "glBegin");
    EXPECT_EQ(calls.front().args.at(0), double(GL_TRIANGLES));
    EXPECT_EQ(calls.back().name, "glEnd");
    EXPECT_EQ(calls.size() % 2, 0u);
    for (std::size_t i = 1; i + 2 < calls.size(); i += 2) {
        EXPECT_EQ(calls[i].name, "glNormal3fv");
        EXPECT_EQ(calls[i + 1].name, "glVertex3fv");
        vertices.push_back({ArgsToVector(calls[i]), ArgsToVector(calls[i + 1])});
    }
    return vertices;
}

// One reservation for the whole suite: it is large, and slow to release under sanitizers.
class CubeGridTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { reserved = grid.CreateMemory(); }
    static void TearDownTestSuite() { grid.FreeMemory(); }

    void SetUp() override {
        FakeGL::Reset();
        ASSERT_TRUE(reserved);
    }

    // One cell over the whole box; corner c sits at the box corner given by its steps.
    void InitOneCell(const std::array<float, 8>& values) {
        ASSERT_TRUE(grid.Init(1));
        for (int corner = 0; corner < 8; ++corner) {
            VARKO::CUBE_GRID_VERTEX& point = *grid.cubes[0].vertices[corner];
            point.value = values[corner];
            point.normal = VECTOR3D(float(corner), float(2 * corner), -float(corner));
        }
    }

    std::vector<EmittedVertex> Draw(float threshold) {
        FakeGL::ClearLog();
        grid.DrawSurface(threshold);
        return EmittedVertices();
    }

    static inline CUBE_GRID grid;
    static inline bool reserved = false;
};

void ExpectPositions(const std::vector<EmittedVertex>& vertices,
                     const std::vector<VECTOR3D>& positions) {
    ASSERT_EQ(vertices.size(), positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        EXPECT_TRUE(vertices[i].position == positions[i])
            << "vertex " << i << ": " << vertices[i].position.x << ", " << vertices[i].position.y
            << ", " << vertices[i].position.z;
    }
}

TEST_F(CubeGridTest, OneCellGridSpansTheBox) {
    ASSERT_TRUE(grid.Init(1));
    EXPECT_EQ(grid.numVertices, 8);
    EXPECT_EQ(grid.numCubes, 1);
    const VECTOR3D corners[8] = {{-10, -10, -10}, {-10, -10, 10}, {-10, 10, 10}, {-10, 10, -10},
                                 {10, -10, -10},  {10, -10, 10},  {10, 10, 10},  {10, 10, -10}};
    for (int corner = 0; corner < 8; ++corner) {
        EXPECT_TRUE(grid.cubes[0].vertices[corner]->position == corners[corner]) << corner;
    }
}

TEST_F(CubeGridTest, FiftyCellGridLayout) {
    ASSERT_TRUE(grid.Init(50));
    EXPECT_EQ(grid.numVertices, 132651);
    EXPECT_EQ(grid.numCubes, 125000);
    EXPECT_TRUE(grid.vertices[0].position == VECTOR3D(-10, -10, -10));
    EXPECT_TRUE(grid.vertices[132650].position == VECTOR3D(10, 10, 10));
    // k runs along z, j along y, i along x, 0.4 apart up to float rounding.
    const VECTOR3D origin = grid.vertices[0].position;
    EXPECT_NEAR(grid.vertices[1].position.z - origin.z, 0.4f, 1e-5f);
    EXPECT_NEAR(grid.vertices[51].position.y - origin.y, 0.4f, 1e-5f);
    EXPECT_NEAR(grid.vertices[51 * 51].position.x - origin.x, 0.4f, 1e-5f);
}

TEST_F(CubeGridTest, InitRefusesWhatWouldOverrunTheArrays) {
    EXPECT_TRUE(grid.Init(3));
    EXPECT_EQ(grid.numCubes, 27);
    EXPECT_FALSE(grid.Init(0));
    EXPECT_FALSE(grid.Init(251));
    EXPECT_EQ(grid.numCubes, 27);
    CUBE_GRID empty;
    EXPECT_FALSE(empty.Init(50));
    EXPECT_EQ(empty.numVertices, 0);
}

TEST_F(CubeGridTest, CornerZeroAloneCutsEdgesZeroThreeEight) {
    InitOneCell({4, 6, 6, 6, 6, 6, 6, 6});
    const std::vector<EmittedVertex> vertices = Draw(5.0f);
    EXPECT_EQ(grid.numFacesDrawn, 1);
    // Half-way along edges 0, 3 and 8, emitted in that order.
    ExpectPositions(vertices, {{-10, -10, 0}, {-10, 0, -10}, {0, -10, -10}});
    // Each normal is the mean of its edge's end normals (corner c carries (c, 2c, -c)).
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_TRUE(vertices[0].normal == VECTOR3D(0.5f, 1.0f, -0.5f));
    EXPECT_TRUE(vertices[1].normal == VECTOR3D(1.5f, 3.0f, -1.5f));
    EXPECT_TRUE(vertices[2].normal == VECTOR3D(2.0f, 4.0f, -2.0f));
}

TEST_F(CubeGridTest, AlternatingCornersEmitTheirFourTriangles) {
    const VECTOR3D edgeMidpoints[12] = {{-10, -10, 0}, {-10, 0, 10}, {-10, 10, 0}, {-10, 0, -10},
                                        {10, -10, 0},  {10, 0, 10},  {10, 10, 0},  {10, 0, -10},
                                        {0, -10, -10}, {0, -10, 10}, {0, 10, 10},  {0, 10, -10}};
    auto expected = [&](std::vector<int> edges) {
        std::vector<VECTOR3D> positions;
        for (int edge : edges) {
            positions.push_back(edgeMidpoints[edge]);
        }
        return positions;
    };
    InitOneCell({0, 10, 0, 10, 0, 10, 0, 10});
    ExpectPositions(Draw(5.0f), expected({1, 5, 2, 5, 6, 2, 3, 4, 0, 3, 7, 4}));
    EXPECT_EQ(grid.numFacesDrawn, 4);
    InitOneCell({10, 0, 10, 0, 10, 0, 10, 0});
    ExpectPositions(Draw(5.0f), expected({3, 2, 6, 3, 6, 7, 1, 0, 5, 5, 0, 4}));
    EXPECT_EQ(grid.numFacesDrawn, 4);
}

TEST_F(CubeGridTest, ValueAtThresholdCountsAsNotBelow) {
    InitOneCell({5, 10, 10, 10, 10, 10, 10, 10});
    EXPECT_TRUE(Draw(5.0f).empty());
    EXPECT_EQ(grid.numFacesDrawn, 0);
    InitOneCell({0, 0, 0, 0, 0, 0, 0, 5});
    EXPECT_EQ(Draw(5.0f).size(), 3u);
    EXPECT_EQ(grid.numFacesDrawn, 1);
}

TEST_F(CubeGridTest, FieldOnOneSideEmitsAnEmptyBatch) {
    ASSERT_TRUE(grid.Init(4));
    for (float value : {0.0f, 9.0f}) {
        for (int p = 0; p < grid.numVertices; ++p) {
            grid.vertices[p].value = value;
        }
        grid.numFacesDrawn = 7;
        FakeGL::ClearLog();
        grid.DrawSurface(5.0f);
        EXPECT_EQ(FakeGL::CallTexts(),
                  (std::vector<std::string>{"glBegin(GL_TRIANGLES)", "glEnd()"}));
        EXPECT_EQ(grid.numFacesDrawn, 0);
    }
}

TEST(CubeGridMemory, FreeingIsSafeAtAnyTime) {
    CUBE_GRID never;
    never.FreeMemory();
    never.FreeMemory();
    EXPECT_EQ(never.vertices, nullptr);
    EXPECT_EQ(never.cubes, nullptr);

    CUBE_GRID grid;
    ASSERT_TRUE(grid.CreateMemory());
    ASSERT_TRUE(grid.Init(2));
    grid.numFacesDrawn = 3;
    grid.FreeMemory();
    grid.FreeMemory();
    EXPECT_EQ(grid.vertices, nullptr);
    EXPECT_EQ(grid.cubes, nullptr);
    EXPECT_EQ(grid.numVertices, 0);
    EXPECT_EQ(grid.numCubes, 0);
    EXPECT_EQ(grid.numFacesDrawn, 3);
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kib;
        }
    }
    return kib;
}

// The arrays are reserved for 250 cells a side (well over a gigabyte), but only the part in use
// may become resident.
TEST(CubeGridMemory, ResidentMemoryFollowsTheSizeInUse) {
    if (ResidentKiB() < 0) {
        GTEST_SKIP() << "no /proc/self/status here";
    }
    const long before = ResidentKiB();
    CUBE_GRID grid;
    ASSERT_TRUE(grid.CreateMemory());
    EXPECT_TRUE(grid.vertices[15813250].position == VECTOR3D(0, 0, 0));
    EXPECT_TRUE(grid.vertices[15813250].normal == VECTOR3D(0, 0, 0));
    ASSERT_TRUE(grid.Init(50));
    VARKO::METABALL ball;
    ball.Init(VECTOR3D(1, 2, 0), 10.0f);
    VARKO::EvaluateField(grid, &ball, 1);
    grid.DrawSurface(5.0f);
    EXPECT_LT(ResidentKiB() - before, 32 * 1024);
}

// Identifies an emitted point by the lattice edge it lies on, since the two cells sharing an edge
// interpolate it from opposite ends and may differ in the last bits.
using LatticeEdge = std::array<int, 3>;

LatticeEdge EdgeKey(const VECTOR3D& position, int gridSize) {
    const float coordinates[3] = {position.x, position.y, position.z};
    LatticeEdge key;
    for (int axis = 0; axis < 3; ++axis) {
        const double u = (coordinates[axis] + 10.0) * gridSize / 20.0;
        const double nearest = std::round(u);
        key[axis] = std::abs(u - nearest) < 1e-3 ? 2 * int(nearest) : 2 * int(std::floor(u)) + 1;
    }
    return key;
}

// Every directed side of every triangle must meet its reverse exactly once: no holes, no
// overlaps, one consistent orientation.
void ExpectClosedAndOriented(const std::vector<EmittedVertex>& vertices, int gridSize) {
    std::map<std::pair<LatticeEdge, LatticeEdge>, int> sides;
    for (std::size_t t = 0; t + 2 < vertices.size(); t += 3) {
        for (int corner = 0; corner < 3; ++corner) {
            const LatticeEdge from = EdgeKey(vertices[t + corner].position, gridSize);
            const LatticeEdge to = EdgeKey(vertices[t + (corner + 1) % 3].position, gridSize);
            ASSERT_NE(from, to) << "degenerate triangle " << t / 3;
            ++sides[{from, to}];
        }
    }
    int faults = 0;
    for (const auto& [side, count] : sides) {
        const auto reverse = sides.find({side.second, side.first});
        if (count != 1 || reverse == sides.end() || reverse->second != 1) {
            ++faults;
        }
    }
    EXPECT_EQ(faults, 0);
}

// Random values at the interior points, far from the threshold, with the boundary outside: this
// exercises every ambiguous face configuration.
TEST_F(CubeGridTest, RandomClosedFieldsGiveWatertightSurfaces) {
    const int n = 9;
    ASSERT_TRUE(grid.Init(n));
    std::mt19937 random(1234);
    for (int round = 0; round < 20; ++round) {
        std::bernoulli_distribution inside(round % 2 == 0 ? 0.5 : 0.3);
        std::uniform_real_distribution<float> offset(0.5f, 4.5f);
        for (int i = 0, p = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                for (int k = 0; k <= n; ++k, ++p) {
                    const bool boundary = i == 0 || j == 0 || k == 0 || i == n || j == n || k == n;
                    const bool high = !boundary && inside(random);
                    grid.vertices[p].value = high ? 5.0f + offset(random) : 5.0f - offset(random);
                }
            }
        }
        const std::vector<EmittedVertex> vertices = Draw(5.0f);
        EXPECT_EQ(grid.numFacesDrawn * 3, int(vertices.size()));
        EXPECT_GT(vertices.size(), 0u);
        ExpectClosedAndOriented(vertices, n);
    }
}

VECTOR3D Cross(const VECTOR3D& a, const VECTOR3D& b) {
    return a.CrossProduct(b);
}

TEST_F(CubeGridTest, LoneBallGivesAnOutwardFacingSphere) {
    const int n = 40;
    const float spacing = 20.0f / n;
    ASSERT_TRUE(grid.Init(n));
    for (float squaredRadius : {5.0f, 14.0f}) {
        VARKO::METABALL ball;
        const VECTOR3D centre(1.3f, -2.1f, 0.7f);
        ball.Init(centre, squaredRadius);
        VARKO::EvaluateField(grid, &ball, 1);
        const std::vector<EmittedVertex> vertices = Draw(5.0f);
        ASSERT_GT(vertices.size(), 0u);
        ExpectClosedAndOriented(vertices, n);

        const float radius = std::sqrt(squaredRadius / 5.0f);
        // Interpolating the 1/d^2 field linearly along an edge overshoots; on an edge that runs
        // straight out from the centre by up to 0.37 spacing^2 / radius.
        const float tolerance = 0.4f * spacing * spacing / radius;
        for (std::size_t t = 0; t + 2 < vertices.size(); t += 3) {
            const VECTOR3D& a = vertices[t].position;
            const VECTOR3D& b = vertices[t + 1].position;
            const VECTOR3D& c = vertices[t + 2].position;
            const VECTOR3D outward = (a + b + c) * (1.0f / 3.0f) - centre;
            EXPECT_GT(Cross(b - a, c - a).DotProduct(outward), 0.0f) << "triangle " << t / 3;
            for (std::size_t v = t; v < t + 3; ++v) {
                const VECTOR3D fromCentre = vertices[v].position - centre;
                EXPECT_NEAR(fromCentre.GetLength(), radius, tolerance);
                EXPECT_GT(vertices[v].normal.DotProduct(fromCentre), 0.0f);
            }
        }
    }
}

} // namespace
