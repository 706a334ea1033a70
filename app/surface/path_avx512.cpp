#include "app/surface/vector_path.h"

#include <immintrin.h>

// The AVX-512 path: sixteen lanes. Built with AVX-512 enabled for this file alone and run only
// where the processor has it.
namespace VARKO::Surface {

namespace {

struct Lanes {
    using V = __m512;
    static constexpr int width = 16;
    static V Load(const float* p) { return _mm512_loadu_ps(p); }
    static V Splat(float f) { return _mm512_set1_ps(f); }
    static void StoreVector(float* p, V v) { _mm512_storeu_ps(p, v); }
    // A 4 x 4 transposition within each 128-bit quarter: quadruple l sits in quarter l / 4 of
    // result l % 4.
    static void Store(float* base, const int* offsets, V value, V nx, V ny, V nz) {
        const V lowVx = _mm512_unpacklo_ps(value, nx), highVx = _mm512_unpackhi_ps(value, nx);
        const V lowYz = _mm512_unpacklo_ps(ny, nz), highYz = _mm512_unpackhi_ps(ny, nz);
        const V quads[4] = {
            _mm512_shuffle_ps(lowVx, lowYz, 0x44), _mm512_shuffle_ps(lowVx, lowYz, 0xEE),
            _mm512_shuffle_ps(highVx, highYz, 0x44), _mm512_shuffle_ps(highVx, highYz, 0xEE)};
        for (int lane = 0; lane < 4; ++lane) {
            _mm_storeu_ps(base + offsets[lane], _mm512_castps512_ps128(quads[lane]));
            _mm_storeu_ps(base + offsets[lane + 4], _mm512_extractf32x4_ps(quads[lane], 1));
            _mm_storeu_ps(base + offsets[lane + 8], _mm512_extractf32x4_ps(quads[lane], 2));
            _mm_storeu_ps(base + offsets[lane + 12], _mm512_extractf32x4_ps(quads[lane], 3));
        }
    }
    // The sixteen values lie at floats 3, 10, ... 108 of seven vectors. One index, (7l + 3) mod 32,
    // picks lane l's value out of whichever pair of vectors holds it.
    static unsigned Below(const float* p, float threshold) {
        const __m512i index =
            _mm512_setr_epi32(3, 10, 17, 24, 31, 6, 13, 20, 27, 2, 9, 16, 23, 30, 5, 12);
        V values = _mm512_permutex2var_ps(_mm512_loadu_ps(p), index, _mm512_loadu_ps(p + 16));
        values = _mm512_mask_blend_ps(
            0x01E0, values,
            _mm512_permutex2var_ps(_mm512_loadu_ps(p + 32), index, _mm512_loadu_ps(p + 48)));
        values = _mm512_mask_blend_ps(
            0x3E00, values,
            _mm512_permutex2var_ps(_mm512_loadu_ps(p + 64), index, _mm512_loadu_ps(p + 80)));
        values = _mm512_mask_blend_ps(0xC000, values,
                                      _mm512_permutexvar_ps(index, _mm512_loadu_ps(p + 96)));
        return _mm512_cmp_ps_mask(values, _mm512_set1_ps(threshold), _CMP_LT_OQ);
    }
};

#include "app/surface/kernels.inl"

} // namespace

extern const VectorPath avx512Path{"avx512", VectorPath::Needs::X86Avx512F, Field<Lanes>,
                                   MarkNotBelow<Lanes>};

} // namespace VARKO::Surface
