#include "app/vector_kernels.h"

#include <immintrin.h>

// The AVX-512 path: sixteen lanes. Built with AVX-512 enabled for this file alone and run only
// where the processor has it.
namespace VARKO::VectorKernels {

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
    static unsigned Below(const float* p, int stride, float threshold) {
        const __m512i index = _mm512_mullo_epi32(
            _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
            _mm512_set1_epi32(stride));
        const V values = _mm512_i32gather_ps(index, p, 4);
        return _mm512_cmp_ps_mask(values, _mm512_set1_ps(threshold), _CMP_LT_OQ);
    }
};

#include "app/vector_kernels.inl"

} // namespace

void EvaluateFieldAvx512(const FieldJob& job) {
    Field<Lanes>(job);
}

void MarkBelowAvx512(const float* firstValue, int stride, int count, float threshold,
                     std::uint64_t* bits) {
    MarkBelow<Lanes>(firstValue, stride, count, threshold, bits);
}

} // namespace VARKO::VectorKernels
