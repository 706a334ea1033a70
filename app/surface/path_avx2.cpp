#include "app/surface/vector_path.h"

#include <immintrin.h>

// The AVX2 path: eight lanes. Built with AVX2 enabled for this file alone and run only where the
// processor has it.
namespace VARKO::Surface {

namespace {

struct Lanes {
    using V = __m256;
    static constexpr int width = 8;
    static V Load(const float* p) { return _mm256_loadu_ps(p); }
    static V Splat(float f) { return _mm256_set1_ps(f); }
    static void StoreVector(float* p, V v) { _mm256_storeu_ps(p, v); }
    // A 4 x 4 transposition within each 128-bit half: quadruple l sits in half l / 4 of result l
    // % 4.
    static void Store(float* base, const int* offsets, V value, V nx, V ny, V nz) {
        const V lowVx = _mm256_unpacklo_ps(value, nx), highVx = _mm256_unpackhi_ps(value, nx);
        const V lowYz = _mm256_unpacklo_ps(ny, nz), highYz = _mm256_unpackhi_ps(ny, nz);
        const V quads[4] = {
            _mm256_shuffle_ps(lowVx, lowYz, 0x44), _mm256_shuffle_ps(lowVx, lowYz, 0xEE),
            _mm256_shuffle_ps(highVx, highYz, 0x44), _mm256_shuffle_ps(highVx, highYz, 0xEE)};
        for (int lane = 0; lane < 4; ++lane) {
            _mm_storeu_ps(base + offsets[lane], _mm256_castps256_ps128(quads[lane]));
            _mm_storeu_ps(base + offsets[lane + 4], _mm256_extractf128_ps(quads[lane], 1));
        }
    }
    static unsigned Below(const float* p, float threshold) {
        const __m256i offsets = _mm256_setr_epi32(3, 10, 17, 24, 31, 38, 45, 52);
        const V values = _mm256_i32gather_ps(p, offsets, 4);
        return unsigned(
            _mm256_movemask_ps(_mm256_cmp_ps(values, _mm256_set1_ps(threshold), _CMP_LT_OQ)));
    }
};

#include "app/surface/kernels.inl"

} // namespace

extern const VectorPath avx2Path{"avx2", VectorPath::Needs::X86Avx2, Field<Lanes>,
                                 MarkNotBelow<Lanes>};

} // namespace VARKO::Surface
