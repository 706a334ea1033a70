#include "app/cube_grid.h"
#include "app/metaballs.h"
#include "app/surface/straightforward.h"
#include "app/surface/vector_path.h"
#include "tests/support/gl_fake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace VARKO {
// Names the path in test listings.
void PrintTo(const VectorPath* path, std::ostream* out) {
    *out << path->name;
}
} // namespace VARKO

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
class VectorPathTest : public ::testing::TestWithParam<const VectorPath*> {
protected:
    static void SetUpTestSuite() { reserved = product.CreateMemory() && reference.CreateMemory(); }
    static void TearDownTestSuite() {
        product.FreeMemory();
        reference.FreeMemory();
    }

    void SetUp() override {
        ASSERT_TRUE(reserved);
        widest = &VARKO::ActiveVectorPath();
        if (!VARKO::VectorPathRunsHere(*GetParam())) {
            GTEST_SKIP() << GetParam()->name << " cannot run here";
        }
        ASSERT_TRUE(VARKO::ForceVectorPath(*GetParam()));
        FakeGL::Reset();
    }
    void TearDown() override { VARKO::ForceVectorPath(*widest); }

    void Init(int size) {
        ASSERT_TRUE(product.Init(size));
        ASSERT_TRUE(reference.Init(size));
    }

    // The field and the surface at the first threshold through the grid's own pass (or the field
    // alone and then a plain DrawSurface), then the surface at each further threshold in turn.
    void ExpectSameFrame(const METABALL* balls, int count, const std::string& what,
                         std::initializer_list<float> thresholds = {5.0f},
                         bool fieldAlone = false) {
        FakeGL::ClearLog();
        if (fieldAlone) {
            VARKO::EvaluateField(product, balls, count);
            product.DrawSurface(*thresholds.begin());
        } else {
            product.DrawFieldSurface(balls, count, *thresholds.begin());
        }
        Straightforward::EvaluateField(reference, balls, count);
        ASSERT_EQ(std::memcmp(product.vertices, reference.vertices,
                              sizeof(VARKO::CUBE_GRID_VERTEX) * product.numVertices),
                  0)
            << "grid points differ: " << what;
        for (float threshold : thresholds) {
            if (threshold != *thresholds.begin()) {
                FakeGL::ClearLog();
                product.DrawSurface(threshold);
            }
            ASSERT_NO_FATAL_FAILURE(ExpectSentSurface(threshold, what));
        }
    }

    // What the product grid sent last is what the plain loops extract from the reference grid.
    void ExpectSentSurface(float threshold, const std::string& what) {
        const int triangles = Straightforward::ExtractSurface(reference, threshold, expected);
        ASSERT_EQ(product.numFacesDrawn, triangles) << what << ", threshold " << threshold;
        const std::vector<Straightforward::EmittedVertex> sent = SentVertices();
        ASSERT_EQ(sent.size(), expected.size()) << what << ", threshold " << threshold;
        ASSERT_TRUE(sent.empty() ||
                    std::memcmp(sent.data(), expected.data(), sizeof(sent[0]) * sent.size()) == 0)
            << "surfaces differ: " << what << ", threshold " << threshold;
    }

    const VectorPath* widest = nullptr;
    std::vector<Straightforward::EmittedVertex> expected;
    static inline VARKO::CUBE_GRID product, reference;
    static inline bool reserved = false;
};

void InitSceneBalls(METABALL* balls) {
    for (int i = 0; i < VARKO::maxMetaballs; ++i) {
        balls[i].Init(VECTOR3D(0, 0, 0), float(i) + 5.0f);
    }
}

// The scene's own motion: a hundred frames or so on a small grid, and some on the scene's grid,
// whose z axis is not symmetric bit for bit at every point.
TEST_P(VectorPathTest, SceneFramesMatchThePlainLoops) {
    METABALL balls[VARKO::maxMetaballs];
    InitSceneBalls(balls);
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
// on top of each other; through the grid's pass and through the field alone.
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
        ASSERT_NO_FATAL_FAILURE(ExpectSameFrame(balls, counts(random), "set " + std::to_string(set),
                                                {5.0f}, set % 4 >= 2));
    }
}

// A second surface from the same field, or one at another threshold, classifies the points afresh.
TEST_P(VectorPathTest, ChangedThresholdsAndRepeatedSurfacesMatchThePlainLoops) {
    METABALL balls[VARKO::maxMetaballs];
    InitSceneBalls(balls);
    Init(30);
    const std::initializer_list<float> frames[] = {{5.0f}, {5.0f, 5.0f}, {2.5f}, {5.0f, 8.0f}};
    for (int frame = 0; frame < 4; ++frame) {
        const float now = float(frame * 700);
        VARKO::MoveMetaballs(balls, [now] { return now; });
        ASSERT_NO_FATAL_FAILURE(
            ExpectSameFrame(balls, 10, "frame " + std::to_string(frame), frames[frame]));
    }
}

// Plain code that writes the points after the field, as the data model allows, gets the surface
// of what it wrote: the same as from a grid the field never touched.
TEST_P(VectorPathTest, SurfaceIsDrawnFromWhateverThePointsHold) {
    METABALL balls[VARKO::maxMetaballs];
    InitSceneBalls(balls);
    VARKO::MoveMetaballs(balls, [] { return 0.0f; });
    Init(50);
    auto onBoth = [](auto write) {
        for (VARKO::CUBE_GRID* grid : {&product, &reference}) {
            for (int p = 0; p < grid->numVertices; ++p) {
                write(grid->vertices[p], p);
            }
        }
    };
    product.DrawFieldSurface(balls, 10, 5.0f);
    VARKO::EvaluateField(product, balls, 10);
    // One sphere of radius 2 about the origin.
    onBoth([](VARKO::CUBE_GRID_VERTEX& point, int) {
        const float s = std::max(point.position.DotProduct(point.position), 0.0001f);
        point.value = 20.0f / s;
        point.normal = point.position * (20.0f / (s * s));
    });
    FakeGL::ClearLog();
    product.DrawSurface(5.0f);
    ASSERT_NO_FATAL_FAILURE(ExpectSentSurface(5.0f, "one sphere after the field"));

    // One point flipped across the threshold between the field and the surface.
    product.DrawFieldSurface(balls, 10, 5.0f);
    Straightforward::EvaluateField(reference, balls, 10);
    const int flipped = 25 * 51 * 51 + 25 * 51 + 25;
    onBoth([](VARKO::CUBE_GRID_VERTEX& point, int p) {
        point.value = p == flipped ? (point.value < 5.0f ? 50.0f : 0.5f) : point.value;
    });
    for (float threshold : {5.0f, 3.0f}) {
        FakeGL::ClearLog();
        product.DrawSurface(threshold);
        ASSERT_NO_FATAL_FAILURE(ExpectSentSurface(threshold, "one point changed"));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, VectorPathTest,
                         ::testing::ValuesIn(VARKO::CarriedVectorPaths().begin(),
                                             VARKO::CarriedVectorPaths().end()),
                         [](const auto& info) { return std::string(info.param->name); });

TEST(VectorPathChoice, WidestThatRunsByDefaultAndOnlyPathsThatRunCanBeForced) {
    const VectorPath& widest = VARKO::ActiveVectorPath();
    EXPECT_TRUE(VARKO::VectorPathRunsHere(widest));
    EXPECT_STREQ(VARKO::CarriedVectorPaths().front()->name, "portable");
    bool pastWidest = false;
    for (const VectorPath* path : VARKO::CarriedVectorPaths()) {
        EXPECT_FALSE(pastWidest && VARKO::VectorPathRunsHere(*path)) << path->name;
        pastWidest = pastWidest || path == &widest;
        EXPECT_EQ(VARKO::FindVectorPath(path->name), path);
        EXPECT_EQ(VARKO::ForceVectorPath(*path), VARKO::VectorPathRunsHere(*path));
        EXPECT_TRUE(VARKO::VectorPathRunsHere(VARKO::ActiveVectorPath()));
    }
    EXPECT_EQ(VARKO::FindVectorPath("mmx"), nullptr);
    EXPECT_TRUE(VARKO::ForceVectorPath(widest));
}

} // namespace
