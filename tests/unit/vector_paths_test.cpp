#include "app/cube_grid.h"
#include "app/metaballs.h"
#include "app/vector_path.h"
#include "tests/support/gl_fake.h"
#include "tools/straightforward.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace {

namespace FakeGL = VARKO::Testing::GL;
using VARKO::METABALL;
using VARKO::VectorPath;

// The vertices the grid sent, as normal-vertex pairs; the fake keeps the floats exactly.
std::vector<Straightforward::EmittedVertex> SentVertices() {
    std::vector<Straightforward::EmittedVertex> vertices;
    VECTOR3D normal;
    for (const FakeGL::Call& call : FakeGL::Calls()) {
        const VECTOR3D v(call.args.size() == 3 ? float(call.args[0]) : 0.0f,
                         call.args.size() == 3 ? float(call.args[1]) : 0.0f,
                         call.args.size() == 3 ? float(call.args[2]) : 0.0f);
        if (call.name == "glNormal3fv") {
            normal = v;
        } else if (call.name == "glVertex3fv") {
            vertices.push_back({normal, v});
        }
    }
    return vertices;
}

// Every path must give the plain loops' bits: every point's value and normal, and every
// triangle in the same order.
class VectorPathTest : public ::testing::TestWithParam<VectorPath> {
protected:
    static void SetUpTestSuite() { reserved = product.CreateMemory() && reference.CreateMemory(); }
    static void TearDownTestSuite() {
        product.FreeMemory();
        reference.FreeMemory();
    }

    void SetUp() override {
        ASSERT_TRUE(reserved);
        if (!VARKO::VectorPathAvailable(GetParam())) {
            GTEST_SKIP() << VARKO::VectorPathName(GetParam()) << " cannot run here";
        }
        widest = VARKO::ActiveVectorPath();
        ASSERT_TRUE(VARKO::ForceVectorPath(GetParam()));
        FakeGL::Reset();
    }
    void TearDown() override { VARKO::ForceVectorPath(widest); }

    void Init(int size) {
        ASSERT_TRUE(product.Init(size));
        ASSERT_TRUE(reference.Init(size));
    }

    // The field once, then the surface at each threshold in turn.
    void ExpectSameFrame(const METABALL* balls, int count, const std::string& what,
                         std::initializer_list<float> thresholds = {5.0f}) {
        VARKO::EvaluateField(product, balls, count);
        Straightforward::EvaluateField(reference, balls, count);
        ASSERT_EQ(std::memcmp(product.vertices, reference.vertices,
                              sizeof(VARKO::CUBE_GRID_VERTEX) * product.numVertices),
                  0)
            << "grid points differ: " << what;
        ASSERT_NO_FATAL_FAILURE(ExpectPointBits(what));
        for (float threshold : thresholds) {
            ASSERT_NO_FATAL_FAILURE(ExpectSameSurface(threshold, what));
        }
    }

    // The field's point bits: set exactly where the value is not below the threshold they were made
    // for, and clear past the last point.
    static void ExpectPointBits(const std::string& what) {
        ASSERT_TRUE(product.classified) << what;
        for (int p = 0; p < (product.numVertices + 63) / 64 * 64; ++p) {
            const bool bit = (product.pointClasses[p / 64] >> (p % 64)) & 1;
            const bool notBelow =
                p < product.numVertices && !(product.vertices[p].value < product.classifiedAt);
            ASSERT_EQ(bit, notBelow) << what << ", point " << p;
        }
    }

    void ExpectSameSurface(float threshold, const std::string& what) {
        FakeGL::ClearLog();
        product.DrawSurface(threshold);
        const int triangles = Straightforward::ExtractSurface(reference, threshold, expected);
        ASSERT_EQ(product.numFacesDrawn, triangles) << what << ", threshold " << threshold;
        const std::vector<Straightforward::EmittedVertex> sent = SentVertices();
        ASSERT_EQ(sent.size(), expected.size()) << what << ", threshold " << threshold;
        ASSERT_TRUE(sent.empty() ||
                    std::memcmp(sent.data(), expected.data(), sizeof(sent[0]) * sent.size()) == 0)
            << "surfaces differ: " << what << ", threshold " << threshold;
    }

    VectorPath widest = VectorPath::Portable;
    std::vector<Straightforward::EmittedVertex> expected;
    static inline VARKO::CUBE_GRID product, reference;
    static inline bool reserved = false;
};

// The scene's own motion: a hundred frames or so on a small grid, and some on the scene's grid,
// whose z axis is not symmetric bit for bit at every point.
TEST_P(VectorPathTest, SceneFramesMatchThePlainLoops) {
    METABALL balls[VARKO::maxMetaballs];
    for (int i = 0; i < VARKO::maxMetaballs; ++i) {
        balls[i].Init(VECTOR3D(0, 0, 0), float(i) + 5.0f);
    }
    for (const auto [size, frames, stepMs] : {std::array{20, 120, 16}, std::array{50, 4, 2500}}) {
        Init(size);
        for (int frame = 0; frame < frames; ++frame) {
            const float now = float(frame * stepMs);
            VARKO::MoveMetaballs(balls, [now] { return now; });
            ASSERT_NO_FATAL_FAILURE(
                ExpectSameFrame(balls, 10 - frame % 9,
                                "grid " + std::to_string(size) + ", t = " + std::to_string(now)));
        }
    }
}

// Any lattice size, ball count and placement: off z = 0 (no mirror images), on grid points, and
// on top of each other.
TEST_P(VectorPathTest, RandomBallSetsMatchThePlainLoops) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> sizes(1, 24), counts(0, VARKO::maxMetaballs);
    std::uniform_real_distribution<float> coordinate(-11.0f, 11.0f), strength(1.0f, 15.0f);
    for (int set = 0; set < 120; ++set) {
        const int size = sizes(random);
        Init(size);
        METABALL balls[VARKO::maxMetaballs];
        for (METABALL& ball : balls) {
            const float z = set % 2 == 0 ? 0.0f : coordinate(random);
            ball.Init(VECTOR3D(coordinate(random), coordinate(random), z), strength(random));
        }
        balls[1].position = product.vertices[random() % product.numVertices].position;
        balls[2].position = set % 3 == 0 ? balls[3].position : balls[2].position;
        ASSERT_NO_FATAL_FAILURE(
            ExpectSameFrame(balls, counts(random), "set " + std::to_string(set)));
    }
}

// The field classifies the points for the threshold last drawn; a surface at another threshold, or
// a second one from the same field, classifies them afresh.
TEST_P(VectorPathTest, ChangedThresholdsAndRepeatedSurfacesMatchThePlainLoops) {
    METABALL balls[VARKO::maxMetaballs];
    for (int i = 0; i < VARKO::maxMetaballs; ++i) {
        balls[i].Init(VECTOR3D(0, 0, 0), float(i) + 5.0f);
    }
    Init(30);
    const std::initializer_list<float> frames[] = {{5.0f}, {5.0f, 5.0f}, {2.5f}, {5.0f, 8.0f}};
    for (int frame = 0; frame < 4; ++frame) {
        const float now = float(frame * 700);
        VARKO::MoveMetaballs(balls, [now] { return now; });
        ASSERT_NO_FATAL_FAILURE(
            ExpectSameFrame(balls, 10, "frame " + std::to_string(frame), frames[frame]));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, VectorPathTest, ::testing::ValuesIn(VARKO::allVectorPaths),
                         [](const auto& info) { return VARKO::VectorPathName(info.param); });

TEST(VectorPathChoice, WidestByDefaultAndOnlyAvailablePathsCanBeForced) {
    const VectorPath widest = VARKO::ActiveVectorPath();
    EXPECT_TRUE(VARKO::VectorPathAvailable(widest));
    for (VectorPath path : VARKO::allVectorPaths) {
        if (VARKO::VectorPathAvailable(path)) {
            EXPECT_LE(int(path), int(widest)) << VARKO::VectorPathName(path);
        }
        EXPECT_EQ(VARKO::ForceVectorPath(path), VARKO::VectorPathAvailable(path));
        EXPECT_TRUE(VARKO::VectorPathAvailable(VARKO::ActiveVectorPath()));
    }
    EXPECT_TRUE(VARKO::ForceVectorPath(widest));
}

} // namespace
