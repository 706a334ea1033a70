#include "app/surface/vector_path.h"

#include <cstring>

// The portable path: any compiler with the GNU vector extensions (g++, clang, Emscripten), any
// processor.
namespace VARKO::Surface {

namespace {

// Four lanes in the compiler's generic vectors, which become whatever vector unit the target has
// (or plain floats where it has none).
using Float4 = float __attribute__((vector_size(16)));

struct Lanes {
    using V = Float4;
    static constexpr int width = 4;
    static V Load(const float* p) {
        V v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static V Splat(float f) { return V{f, f, f, f}; }
    static void StoreVector(float* p, V v) { std::memcpy(p, &v, sizeof v); }
    static void Store(float* base, const int* offsets, V value, V nx, V ny, V nz) {
        for (int lane = 0; lane < width; ++lane) {
            float* point = base + offsets[lane];
            point[0] = value[lane];
            point[1] = nx[lane];
            point[2] = ny[lane];
            point[3] = nz[lane];
        }
    }
    static unsigned Below(const float* p, float threshold) {
        return unsigned(p[3] < threshold) | unsigned(p[10] < threshold) << 1 |
               unsigned(p[17] < threshold) << 2 | unsigned(p[24] < threshold) << 3;
    }
};

#include "app/surface/kernels.inl"

} // namespace

extern const VectorPath portablePath{"portable", VectorPath::Needs::Nothing, Field<Lanes>,
                                     MarkNotBelow<Lanes>};

} // namespace VARKO::Surface
