#include "app/vector_kernels.h"

#include "app/vector_path.h"

// The portable path (one lane, plain floats) and the entry points that pick a path.
namespace VARKO::VectorKernels {

namespace {

struct Lanes {
    using V = float;
    static constexpr int width = 1;
    static V Load(const float* p) { return *p; }
    static V Splat(float f) { return f; }
    static void StoreVector(float* p, V v) { *p = v; }
    static void Store(float* base, const int* offsets, V value, V nx, V ny, V nz) {
        float* point = base + offsets[0];
        point[0] = value;
        point[1] = nx;
        point[2] = ny;
        point[3] = nz;
    }
    static unsigned Below(const float* p, float threshold) { return p[3] < threshold; }
};

#include "app/vector_kernels.inl"

} // namespace

void EvaluateFieldPortable(const FieldJob& job) {
    Field<Lanes>(job);
}

void MarkBelowPortable(const CUBE_GRID_VERTEX* points, int count, float threshold,
                       std::uint64_t* bits) {
    MarkBelow<Lanes>(points, count, threshold, bits);
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

void MarkBelow(const CUBE_GRID_VERTEX* points, int count, float threshold, std::uint64_t* bits) {
    switch (ActiveVectorPath()) {
#ifdef VARKO_X86_VECTOR_PATHS
    case VectorPath::Sse2:
        return MarkBelowSse2(points, count, threshold, bits);
    case VectorPath::Avx2:
        return MarkBelowAvx2(points, count, threshold, bits);
    case VectorPath::Avx512:
        return MarkBelowAvx512(points, count, threshold, bits);
#endif
    default:
        return MarkBelowPortable(points, count, threshold, bits);
    }
}

} // namespace VARKO::VectorKernels
