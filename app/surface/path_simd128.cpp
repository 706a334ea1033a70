#include "app/surface/vector_path.h"

#include <wasm_simd128.h>

// The WebAssembly SIMD path: four lanes of 128-bit SIMD. The web build compiles it with SIMD on;
// a module that holds SIMD instructions does not load at all where the engine lacks them, so this
// path needs nothing at run time (engines without SIMD are not supported). WebAssembly's float
// arithmetic, division included, is correctly rounded and never fused, as the kernels require.
namespace VARKO::Surface {

namespace {

struct Lanes {
    // Float lanes, so that the kernels' arithmetic operators act on floats.
    using V = __f32x4;
    static constexpr int width = 4;
    static V Load(const float* p) { return V(wasm_v128_load(p)); }
    static V Splat(float f) { return V(wasm_f32x4_splat(f)); }
    static void StoreVector(float* p, V v) { wasm_v128_store(p, v128_t(v)); }
    // A 4 x 4 transposition turns the four columns into one (value, normal) quadruple per point.
    static void Store(float* base, const int* offsets, V value, V nx, V ny, V nz) {
        const v128_t lowVx = wasm_i32x4_shuffle(value, nx, 0, 4, 1, 5);
        const v128_t highVx = wasm_i32x4_shuffle(value, nx, 2, 6, 3, 7);
        const v128_t lowYz = wasm_i32x4_shuffle(ny, nz, 0, 4, 1, 5);
        const v128_t highYz = wasm_i32x4_shuffle(ny, nz, 2, 6, 3, 7);
        wasm_v128_store(base + offsets[0], wasm_i32x4_shuffle(lowVx, lowYz, 0, 1, 4, 5));
        wasm_v128_store(base + offsets[1], wasm_i32x4_shuffle(lowVx, lowYz, 2, 3, 6, 7));
        wasm_v128_store(base + offsets[2], wasm_i32x4_shuffle(highVx, highYz, 0, 1, 4, 5));
        wasm_v128_store(base + offsets[3], wasm_i32x4_shuffle(highVx, highYz, 2, 3, 6, 7));
    }
    static unsigned Below(const float* p, float threshold) {
        const v128_t values = wasm_f32x4_make(p[3], p[10], p[17], p[24]);
        return wasm_i32x4_bitmask(wasm_f32x4_lt(values, wasm_f32x4_splat(threshold)));
    }
};

#include "app/surface/kernels.inl"

} // namespace

extern const VectorPath simd128Path{"simd128", VectorPath::Needs::Nothing, Field<Lanes>,
                                    MarkNotBelow<Lanes>};

} // namespace VARKO::Surface
