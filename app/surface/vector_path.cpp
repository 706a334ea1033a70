#include "app/surface/vector_path.h"

namespace VARKO {

// One line per path: its file defines the row, the build decides whether the file is compiled.
namespace Surface {
extern const VectorPath portablePath;
#ifdef VARKO_X86_VECTOR_PATHS
extern const VectorPath sse2Path, avx2Path, avx512Path;
#endif
#ifdef VARKO_WASM_SIMD128_PATH
extern const VectorPath simd128Path;
#endif
} // namespace Surface

namespace {

// Narrowest first.
constexpr const VectorPath* carried[] = {
    &Surface::portablePath,
#ifdef VARKO_X86_VECTOR_PATHS
    &Surface::sse2Path,   // the x86-64 baseline
    &Surface::avx2Path,   // where the processor has AVX2
    &Surface::avx512Path, // where it has AVX-512
#endif
#ifdef VARKO_WASM_SIMD128_PATH
    &Surface::simd128Path, // WebAssembly, built with SIMD
#endif
};

const VectorPath* WidestThatRunsHere() {
    for (auto path = std::rbegin(carried); path != std::rend(carried); ++path) {
        if (VectorPathRunsHere(**path)) {
            return *path;
        }
    }
    return &Surface::portablePath;
}

const VectorPath*& Active() {
    static const VectorPath* active = WidestThatRunsHere();
    return active;
}

} // namespace

std::span<const VectorPath* const> CarriedVectorPaths() {
    return carried;
}

const VectorPath* FindVectorPath(std::string_view name) {
    for (const VectorPath* path : carried) {
        if (name == path->name) {
            return path;
        }
    }
    return nullptr;
}

bool VectorPathRunsHere(const VectorPath& path) {
    switch (path.needs) {
    case VectorPath::Needs::Nothing:
        return true;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    // These checks cover the operating system's support as well as the processor's.
    case VectorPath::Needs::X86Avx2:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2");
    case VectorPath::Needs::X86Avx512F:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f");
#endif
    default:
        return false;
    }
}

const VectorPath& ActiveVectorPath() {
    return *Active();
}

bool ForceVectorPath(const VectorPath& path) {
    if (!VectorPathRunsHere(path)) {
        return false;
    }
    Active() = &path;
    return true;
}

} // namespace VARKO
