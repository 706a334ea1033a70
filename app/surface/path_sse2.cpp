#include "app/surface/vector_path.h"

#include <immintrin.h>

// The SSE2 path: four lanes, the x86-64 baseline.
namespace VARKO::Surface {

namespace {

struct Lanes {
    using V = __m128;
    static constexpr int width = 4;
    static V Load(const float* p) { return _mm_loadu_ps(p); }
    static V Splat(float f) { return _mm_set1_ps(f); }
    static void StoreVector(float* p, V v) { _mm_storeu_ps(p, v); }
    // A 4 x 4 transposition turns the four columns into one (value, normal) quadruple per point.
    static void Store(float* base, const int* offsets, V value, V nx, V ny, V nz) {
        const V lowVx = _mm_unpacklo_ps(value, nx), highVx = _mm_unpackhi_ps(value, nx);
        const V lowYz = _mm_unpacklo_ps(ny, nz), highYz = _mm_unpackhi_ps(ny, nz);
        _mm_storeu_ps(base + offsets[0], _mm_movelh_ps(lowVx, lowYz));
        _mm_storeu_ps(base + offsets[1], _mm_movehl_ps(lowYz, lowVx));
        _mm_storeu_ps(base + offsets[2], _mm_movelh_ps(highVx, highYz));
        _mm_storeu_ps(base + offsets[3], _mm_movehl_ps(highYz, highVx));
    }
    static unsigned Below(const float* p, float threshold) {
        const V values = _mm_setr_ps(p[3], p[10], p[17], p[24]);
        return unsigned(_mm_movemask_ps(_mm_cmplt_ps(values, _mm_set1_ps(threshold))));
    }
};

#include "app/surface/kernels.inl"

} // namespace

extern const VectorPath sse2Path{"sse2", VectorPath::Needs::Nothing, Field<Lanes>,
                                 MarkNotBelow<Lanes>};

} // namespace VARKO::Surface
