#include "app/vector_kernels.h"

#include "app/vector_path.h"

#include <cstring>

// The portable path and the entry points that pick a path.
namespace VARKO::VectorKernels {

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

#include "app/vector_kernels.inl"

} // namespace

void EvaluateFieldPortable(const FieldJob& job) {
    Field<Lanes>(job);
}

void MarkNotBelowPortable(const CUBE_GRID_VERTEX* points, int count, float threshold,
                          std::uint64_t* bits) {
    MarkNotBelow<Lanes>(points, count, threshold, bits);
}

void EvaluateField(const FieldJob& job) {
    switch (ActiveVectorPath()) {
#ifdef VARKO_X86_VECTOR_PATHS
    case VectorPath::Sse2:
        return EvaluateFieldSse2(job);
    case VectorPath::Avx2:
        return EvaluateFieldAvx2(job);
    case VectorPath::Avx512:
        return EvaluateFieldAvx512(job);
#endif
    default:
        return EvaluateFieldPortable(job);
    }
}

void MarkNotBelow(const CUBE_GRID_VERTEX* points, int count, float threshold, std::uint64_t* bits) {
    switch (ActiveVectorPath()) {
#ifdef VARKO_X86_VECTOR_PATHS
    case VectorPath::Sse2:
        return MarkNotBelowSse2(points, count, threshold, bits);
    case VectorPath::Avx2:
        return MarkNotBelowAvx2(points, count, threshold, bits);
    case VectorPath::Avx512:
        return MarkNotBelowAvx512(points, count, threshold, bits);
#endif
    default:
        return MarkNotBelowPortable(points, count, threshold, bits);
    }
}

} // namespace VARKO::VectorKernels
