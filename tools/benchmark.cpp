// Times the per-frame processor work of the metaball scene without a display: ball motion, field
// and normals, and surface extraction into a sink that only counts what GL would be sent.
//
//   benchmark [--frames=N] [grid sizes...]      (default: 200 frames, sizes 50 100 150)

#include "app/cube_grid.h"
#include "app/metaballs.h"

#include "src/gl_api.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

long verticesSent = 0;
float positionSum = 0.0f; // printed, so the sink's reads are not optimised away

} // namespace

// The extraction's four GL entry points, standing in for the driver.
void glBegin(GLenum) {}
void glEnd() {}
void glNormal3fv(const GLfloat*) {}
void glVertex3fv(const GLfloat* v) {
    ++verticesSent;
    positionSum += v[0];
}

namespace {

using Clock = std::chrono::steady_clock;

constexpr float frameStepMs = 100.0f / 3.0f;

struct Spread {
    double median, p10, p90, max;
};

Spread SpreadOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[std::size_t(q * double(samples.size() - 1) + 0.5)]; };
    return {at(0.5), at(0.1), at(0.9), samples.back()};
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Peak resident memory of the process so far, in MiB; -1 where /proc is not available.
double PeakResidentMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = -1;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kib;
        }
    }
    return kib < 0 ? -1.0 : double(kib) / 1024.0;
}

void InitBalls(VARKO::METABALL* balls) {
    for (int i = 0; i < VARKO::maxMetaballs; ++i) {
        balls[i].Init(VECTOR3D(0, 0, 0), float(i) + 5.0f);
    }
}

void PrintSpread(const Spread& spread) {
    std::printf(" %8.3f %8.3f %8.3f %8.3f |", spread.median, spread.p10, spread.p90, spread.max);
}

void RunCase(VARKO::CUBE_GRID& grid, int gridSize, int ballCount, int frames) {
    VARKO::METABALL balls[VARKO::maxMetaballs];
    InitBalls(balls);
    std::vector<double> fieldMs, extractMs;
    long triangles = 0;
    for (int frame = 0; frame < frames; ++frame) {
        const float now = float(frame) * frameStepMs;
        const auto fieldStart = Clock::now();
        VARKO::MoveMetaballs(balls, [now] { return now; });
        VARKO::EvaluateField(grid, balls, ballCount);
        fieldMs.push_back(MillisecondsSince(fieldStart));

        const auto extractStart = Clock::now();
        grid.DrawSurface(5.0f);
        extractMs.push_back(MillisecondsSince(extractStart));
        triangles += grid.numFacesDrawn;
    }
    std::printf("%5d %6d |", gridSize, ballCount);
    PrintSpread(SpreadOf(fieldMs));
    PrintSpread(SpreadOf(extractMs));
    std::printf(" %10ld |", triangles / frames);
}

} // namespace

int main(int argc, char** argv) {
    int frames = 200;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--frames=", 0) == 0) {
            frames = std::max(1, std::atoi(arg.c_str() + 9));
        } else {
            sizes.push_back(std::atoi(arg.c_str()));
        }
    }
    if (sizes.empty()) {
        sizes = {50, 100, 150};
    }

    VARKO::CUBE_GRID grid;
    if (!grid.CreateMemory()) {
        std::fprintf(stderr, "benchmark: the grid's memory could not be reserved\n");
        return 1;
    }
    std::printf("%d frames at t = 0, 33.3, 66.7 ... ms; times in ms per frame\n", frames);
    std::printf("field = ball motion + field and normals; peak RSS (VmHWM) is cumulative\n\n");
    std::printf(" size  balls |  field: median      p10      p90      max |"
                " extract: median     p10      p90      max | triangles | peak RSS MiB\n");
    for (int size : sizes) {
        if (!grid.Init(size)) {
            std::fprintf(stderr, "benchmark: grid size %d is outside 1..250\n", size);
            return 1;
        }
        for (int ballCount : {2, VARKO::maxMetaballs}) {
            RunCase(grid, size, ballCount, frames);
            std::printf(" %12.1f\n", PeakResidentMiB());
        }
    }
    std::printf("\n(%ld vertices sent, checksum %g)\n", verticesSent, double(positionSum));
    return 0;
}
