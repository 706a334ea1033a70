// Times the demo's frames in a real GL context: an 800 x 600 window (run it in a virtual display,
// where Mesa draws), three kinds of frame interleaved so that a slow spell hits all alike:
//   demo:    the scene exactly as the demo draws it (motion, field, surface, backdrop, statistics);
//   surface: the surface alone with its per-frame processor work (motion, field, extraction);
//   replay:  the same surfaces, precomputed, sent to GL the same way without that work.
// The gap between the last two is what the processor work costs a frame.
//
//   frame_timing [--frames=N]      (default 100; run from the repository root, for data/)

#include "app/cube_grid.h"
#include "app/metaballs.h"
#include "app/scene.h"
#include "app/surface/straightforward.h"
#include "src/opengl.h"

#include "src/gl_api.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Straightforward::EmittedVertex;

constexpr float frameStepMs = 16.0f;

enum class Kind { Demo, Surface, Replay };

Kind kind = Kind::Demo;
float now = 0.0f;
int frameIndex = 0;
std::vector<std::vector<EmittedVertex>> meshes;

void Frame(VARKO::OpenGL* gl, VARKO::ControlData* cont) {
    VARKO::MetaballScene& scene = VARKO::scene;
    switch (kind) {
    case Kind::Demo:
        scene.Draw(gl, cont);
        break;
    case Kind::Surface:
        scene.envmap.On();
        scene.DrawSurface([] { return now; });
        break;
    case Kind::Replay:
        scene.envmap.On();
        scene.BeginSurface(now);
        glBegin(GL_TRIANGLES);
        for (const EmittedVertex& vertex : meshes[frameIndex]) {
            glNormal3fv(vertex.normal);
            glVertex3fv(vertex.position);
        }
        glEnd();
        scene.EndSurface();
        break;
    }
}

// The surfaces of the timed frames, computed up front.
void PrecomputeMeshes(int frames) {
    VARKO::MetaballScene& scene = VARKO::scene;
    for (int frame = 0; frame < frames; ++frame) {
        const float t = float(frame) * frameStepMs;
        VARKO::MoveMetaballs(scene.metaballs, [t] { return t; });
        VARKO::EvaluateField(scene.cubeGrid, scene.metaballs, scene.numMetaballs);
        meshes.emplace_back();
        Straightforward::ExtractSurface(scene.cubeGrid, scene.threshold, meshes.back());
    }
}

double TimedFrame(VARKO::OpenGL& gl, Kind frameKind) {
    kind = frameKind;
    const auto start = Clock::now();
    const bool going = gl.DrawGLScene();
    glFinish();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!going) {
        std::fprintf(stderr, "frame_timing: the frame driver stopped\n");
        std::exit(1);
    }
    return ms;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int frames = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--frames=", 0) == 0) {
            frames = std::max(1, std::atoi(arg.c_str() + 9));
        } else {
            std::fprintf(stderr, "usage: frame_timing [--frames=N]\n");
            return 2;
        }
    }
    VARKO::OpenGL gl(Frame);
    if (!gl.CreateGLWindow("VARKO OpenGL Example", 800, 600, 32, false)) {
        std::fprintf(stderr, "frame_timing: no GL window (is there a display?)\n");
        return 1;
    }
    const std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    // The first demo frame sets the scene up: grid, lights, textures.
    TimedFrame(gl, Kind::Demo);
    PrecomputeMeshes(frames);

    std::vector<double> demoMs, surfaceMs, replayMs;
    for (frameIndex = 0; frameIndex < frames; ++frameIndex) {
        now = float(frameIndex) * frameStepMs;
        demoMs.push_back(TimedFrame(gl, Kind::Demo));
        surfaceMs.push_back(TimedFrame(gl, Kind::Surface));
        replayMs.push_back(TimedFrame(gl, Kind::Replay));
    }
    gl.KillGLWindow();

    const double demo = Median(demoMs), surface = Median(surfaceMs), replay = Median(replayMs);
    std::printf("800 x 600 on %s, %d frames of each kind, medians in ms per frame\n",
                renderer.c_str(), frames);
    std::printf("demo frame:                      %7.3f  (%.0f frames per second)\n", demo,
                1000.0 / demo);
    std::printf("surface with per-frame work:     %7.3f\n", surface);
    std::printf("surface replayed, no work:       %7.3f\n", replay);
    std::printf("processor work: %.3f ms, %.0f%% of the surface frame\n", surface - replay,
                100.0 * (surface - replay) / surface);
    return 0;
}
