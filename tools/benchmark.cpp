// Times the scene's per-frame processor work without a display (ball motion, then the grid's pass
// that evaluates the field and normals and extracts the surface into a sink that records what GL
// would be sent) against the same work written as straightforward loops. Both run on every frame,
// interleaved, so a slow spell of the machine hits both alike, and every frame is checked to give
// the same bits on both.
//
//   benchmark [--grid=N] [--balls=N] [--frames=N] [--path=portable|sse2|avx2|avx512|simd128]
//             [--scaling[=FILE]]
//
// Defaults: grid 50, 10 balls, 200 frames at t = 0, 16, 32 ... ms after a warm-up, the widest
// path. --scaling adds the product path's cost for grids 50 to 250 and 2 and 10 balls (and writes
// it to FILE for plotting). The last line sums up; the exit status is 1 on any difference, or when
// the allocation count cannot be trusted.

#include "app/cube_grid.h"
#include "app/metaballs.h"
#include "app/surface/straightforward.h"
#include "app/surface/vector_path.h"
#include "tools/counting_allocator.h"

#include "src/gl_api.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Straightforward::EmittedVertex;

// What the product's extraction sent through the GL entry points below: a buffer sized before the
// timed frames, written with no more cost than a counter. Vertices past its end are only counted,
// and then the frame cannot match.
std::vector<EmittedVertex> sentBuffer;
std::size_t sentCount = 0;
VECTOR3D pendingNormal;

} // namespace

// The extraction's four GL entry points, standing in for the driver.
void glBegin(GLenum) {
    sentCount = 0;
}
void glEnd() {}
void glNormal3fv(const GLfloat* v) {
    pendingNormal.Set(v[0], v[1], v[2]);
}
void glVertex3fv(const GLfloat* v) {
    if (sentCount < sentBuffer.size()) {
        sentBuffer[sentCount] = {pendingNormal, VECTOR3D(v[0], v[1], v[2])};
    }
    ++sentCount;
}

namespace {

using Clock = std::chrono::steady_clock;

constexpr float threshold = 5.0f;
constexpr float frameStepMs = 16.0f;
constexpr int warmUpFrames = 20;

double MillisecondsBetween(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 == 1 ? samples[middle]
                                   : (samples[middle - 1] + samples[middle]) / 2.0;
}

void InitBalls(VARKO::METABALL* balls) {
    for (int i = 0; i < VARKO::maxMetaballs; ++i) {
        balls[i].Init(VECTOR3D(0, 0, 0), float(i) + 5.0f);
    }
}

// The scene's surface work on one frame: what MetaballScene::DrawSurface does but for the GL
// transform around it.
double ProductFrame(VARKO::CUBE_GRID& grid, VARKO::METABALL* balls, int count, float now) {
    const auto start = Clock::now();
    VARKO::MoveMetaballs(balls, [now] { return now; });
    grid.DrawFieldSurface(balls, count, threshold);
    return MillisecondsBetween(start, Clock::now());
}

double StraightforwardFrame(VARKO::CUBE_GRID& grid, VARKO::METABALL* balls, int count, float now,
                            std::vector<EmittedVertex>& out, int& triangles) {
    const auto start = Clock::now();
    VARKO::MoveMetaballs(balls, [now] { return now; });
    Straightforward::EvaluateField(grid, balls, count);
    triangles = Straightforward::ExtractSurface(grid, threshold, out);
    return MillisecondsBetween(start, Clock::now());
}

bool SameGrids(const VARKO::CUBE_GRID& a, const VARKO::CUBE_GRID& b) {
    return a.numVertices == b.numVertices &&
           std::memcmp(a.vertices, b.vertices,
                       std::size_t(a.numVertices) * sizeof(VARKO::CUBE_GRID_VERTEX)) == 0;
}

bool SameSurfaces(const std::vector<EmittedVertex>& expected) {
    return sentCount == expected.size() && sentCount <= sentBuffer.size() &&
           (expected.empty() || std::memcmp(sentBuffer.data(), expected.data(),
                                            expected.size() * sizeof(EmittedVertex)) == 0);
}

struct Comparison {
    double frame = 0.0;                  // product path, median
    double fastest = 0.0;                // and the quickest frame
    double straightforward = 0.0;        // the same frames, plain loops
    double straightforwardFastest = 0.0; // and its quickest
    long triangles = 0;                  // per frame, mean
    int differingFrames = 0;
    long allocations = 0;
    bool allocationsCounted = false; // the counter saw the set-up's own allocations
};

// Both paths on the same frames, alternating which goes first; checked after every frame.
Comparison Compare(VARKO::CUBE_GRID& product, VARKO::CUBE_GRID& reference, int count, int frames) {
    VARKO::METABALL productBalls[VARKO::maxMetaballs], referenceBalls[VARKO::maxMetaballs];
    InitBalls(productBalls);
    InitBalls(referenceBalls);
    std::vector<EmittedVertex> expected;
    // The warm-up also sizes both surface buffers, so the timed frames need no allocation.
    std::size_t mostVertices = 0;
    for (int frame = 0; frame < warmUpFrames; ++frame) {
        int triangles = 0;
        ProductFrame(product, productBalls, count, float(frame) * frameStepMs);
        StraightforwardFrame(reference, referenceBalls, count, float(frame) * frameStepMs, expected,
                             triangles);
        mostVertices = std::max({mostVertices, sentCount, expected.size()});
    }
    const long beforeSizing = HeapAllocations();
    sentBuffer.resize(2 * mostVertices + 1024);
    expected.reserve(2 * mostVertices + 1024);

    Comparison result;
    // A counter that missed operator new would report no allocations whatever the frames do.
    result.allocationsCounted = HeapAllocations() > beforeSizing;
    std::vector<double> frameMs, referenceMs;
    for (int frame = 0; frame < frames; ++frame) {
        const float now = float(frame) * frameStepMs;
        const long allocationsBefore = HeapAllocations();
        double fast = 0.0, slow = 0.0;
        int triangles = 0;
        if (frame % 2 == 0) {
            fast = ProductFrame(product, productBalls, count, now);
            slow = StraightforwardFrame(reference, referenceBalls, count, now, expected, triangles);
        } else {
            slow = StraightforwardFrame(reference, referenceBalls, count, now, expected, triangles);
            fast = ProductFrame(product, productBalls, count, now);
        }
        result.allocations += HeapAllocations() - allocationsBefore;
        frameMs.push_back(fast);
        referenceMs.push_back(slow);
        result.triangles += triangles;
        if (product.numFacesDrawn != triangles || !SameSurfaces(expected) ||
            !SameGrids(product, reference)) {
            ++result.differingFrames;
            std::fprintf(stderr, "benchmark: frame at t = %g ms differs from the plain loops\n",
                         double(now));
        }
    }
    result.frame = Median(frameMs);
    result.fastest = *std::min_element(frameMs.begin(), frameMs.end());
    result.straightforward = Median(referenceMs);
    result.straightforwardFastest = *std::min_element(referenceMs.begin(), referenceMs.end());
    result.triangles /= std::max(1, frames);
    return result;
}

// What touching the grid's points costs at the least: writing every point's value and normal,
// then reading every value, in storage order. Large grids outgrow the caches, and then this
// bounds a frame from below.
double MemoryPassMs(VARKO::CUBE_GRID& grid) {
    const auto start = Clock::now();
    for (int p = 0; p < grid.numVertices; ++p) {
        grid.vertices[p].value = float(p);
        grid.vertices[p].normal.Set(1.0f, 2.0f, 3.0f);
    }
    int below = 0;
    for (int p = 0; p < grid.numVertices; ++p) {
        below += grid.vertices[p].value < threshold;
    }
    const double ms = MillisecondsBetween(start, Clock::now());
    return below == 5 ? ms : ms; // below is used, so the reading stays
}

// The product path alone over growing grids; fewer frames where a frame is long.
void Scaling(VARKO::CUBE_GRID& grid, int frames, const std::string& dataFile) {
    std::FILE* data = dataFile.empty() ? nullptr : std::fopen(dataFile.c_str(), "w");
    if (data != nullptr) {
        std::fprintf(data, "# grid balls frame_ms ratio_to_grid_50 cell_ratio memory_pass_ms\n");
    }
    std::printf("\nScaling (product path, medians in ms per frame):\n");
    std::printf(" grid balls |    frame | triangles | x grid 50 | cells x | memory pass\n");
    for (int count : {2, VARKO::maxMetaballs}) {
        double base = 0.0;
        for (int size = 50; size <= VARKO::CUBE_GRID::maxGridSize; size += 50) {
            grid.Init(size);
            const double cellRatio = double(size) * size * size / (50.0 * 50 * 50);
            const int caseFrames = std::max(10, int(frames / cellRatio));
            VARKO::METABALL balls[VARKO::maxMetaballs];
            InitBalls(balls);
            std::vector<double> frameMs, memoryMs;
            long triangles = 0;
            for (int frame = -2; frame < caseFrames; ++frame) {
                const double ms =
                    ProductFrame(grid, balls, count, float(std::max(frame, 0)) * frameStepMs);
                if (frame >= 0) {
                    frameMs.push_back(ms);
                    triangles += grid.numFacesDrawn;
                    memoryMs.push_back(MemoryPassMs(grid));
                }
            }
            const double frameMedian = Median(frameMs);
            if (size == 50) {
                base = frameMedian;
            }
            std::printf(" %4d %5d | %8.3f | %9ld | %9.1f | %7.0f | %11.3f\n", size, count,
                        frameMedian, triangles / caseFrames, frameMedian / base, cellRatio,
                        Median(memoryMs));
            if (data != nullptr) {
                std::fprintf(data, "%d %d %.4f %.2f %.0f %.4f\n", size, count, frameMedian,
                             frameMedian / base, cellRatio, Median(memoryMs));
            }
        }
        if (data != nullptr) {
            std::fprintf(data, "\n\n"); // one gnuplot data block per ball count
        }
    }
    if (data != nullptr) {
        std::fclose(data);
    }
}

int Usage() {
    std::string paths;
    for (const VARKO::VectorPath* path : VARKO::CarriedVectorPaths()) {
        paths += paths.empty() ? "" : "|";
        paths += path->name;
    }
    std::fprintf(stderr,
                 "usage: benchmark [--grid=N] [--balls=N] [--frames=N] [--path=%s] "
                 "[--scaling[=FILE]]\n",
                 paths.c_str());
    return 2;
}

// Makes the named path the active one; false, with a message, when it cannot be.
bool UsePath(const std::string& name) {
    const VARKO::VectorPath* path = VARKO::FindVectorPath(name);
    if (path == nullptr) {
        Usage();
        return false;
    }
    if (!VARKO::ForceVectorPath(*path)) {
        std::fprintf(stderr, "benchmark: path %s is not available here\n", path->name);
        return false;
    }
    return true;
}

struct Options {
    int gridSize = 50, count = VARKO::maxMetaballs, frames = 200;
    bool scaling = false;
    std::string scalingFile;
};

// False when an argument is not understood or names a path that cannot be used here.
bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* prefix) {
            return arg.rfind(prefix, 0) == 0 ? arg.substr(std::strlen(prefix)) : std::string();
        };
        if (!value("--grid=").empty()) {
            options.gridSize = std::atoi(value("--grid=").c_str());
        } else if (!value("--balls=").empty()) {
            options.count =
                std::clamp(std::atoi(value("--balls=").c_str()), 0, VARKO::maxMetaballs);
        } else if (!value("--frames=").empty()) {
            options.frames = std::max(1, std::atoi(value("--frames=").c_str()));
        } else if (!value("--path=").empty()) {
            if (!UsePath(value("--path="))) {
                return false;
            }
        } else if (arg == "--scaling" || !value("--scaling=").empty()) {
            options.scaling = true;
            options.scalingFile = value("--scaling=");
        } else {
            Usage();
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        return 2;
    }
    const int gridSize = options.gridSize, count = options.count, frames = options.frames;
    VARKO::CUBE_GRID product, reference;
    if (!product.CreateMemory() || !reference.CreateMemory()) {
        std::fprintf(stderr, "benchmark: the grids' memory could not be reserved\n");
        return 1;
    }
    if (!product.Init(gridSize) || !reference.Init(gridSize)) {
        std::fprintf(stderr, "benchmark: grid size %d is outside 1..250\n", gridSize);
        return 2;
    }
    const char* path = VARKO::ActiveVectorPath().name;
    std::printf("grid %d, %d balls, %d frames at t = 0, 16, 32 ... ms, path %s; medians in ms\n",
                gridSize, count, frames, path);
    const Comparison result = Compare(product, reference, count, frames);
    reference.FreeMemory();
    std::printf("product:         frame %.3f  (quickest %.3f, %ld triangles)\n", result.frame,
                result.fastest, result.triangles);
    // On a busy machine the quickest frames, which no other process interrupted, compare builds
    // more steadily than the medians.
    std::printf("straightforward: frame %.3f  (quickest %.3f; quickest to quickest %.1fx)\n",
                result.straightforward, result.straightforwardFastest,
                result.straightforwardFastest / result.fastest);

    if (options.scaling) {
        Scaling(product, frames, options.scalingFile);
    }
    const bool identical = result.differingFrames == 0;
    std::printf("\nframe %.2f ms (%.1fx straightforward) identical %s allocations %ld path %s\n",
                result.frame, result.straightforward / result.frame, identical ? "yes" : "NO",
                result.allocations, path);
    if (!result.allocationsCounted) {
        std::fprintf(stderr, "benchmark: the allocation counter missed operator new\n");
    }
    return identical && result.allocationsCounted ? 0 : 1;
}
