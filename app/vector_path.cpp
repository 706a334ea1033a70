#include "app/vector_path.h"

namespace VARKO {

namespace {

VectorPath WidestAvailable() {
    const VectorPath widestFirst[] = {VectorPath::Avx512, VectorPath::Avx2, VectorPath::Sse2};
    for (VectorPath path : widestFirst) {
        if (VectorPathAvailable(path)) {
            return path;
        }
    }
    return VectorPath::Portable;
}

VectorPath& Active() {
    static VectorPath active = WidestAvailable();
    return active;
}

} // namespace

bool VectorPathAvailable(VectorPath path) {
    switch (path) {
    case VectorPath::Portable:
        return true;
#ifdef VARKO_X86_VECTOR_PATHS
    // The checks cover the operating system too: it must save the wider registers.
    case VectorPath::Sse2:
        return true;
    case VectorPath::Avx2:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2");
    case VectorPath::Avx512:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f");
#else
    case VectorPath::Sse2:
    case VectorPath::Avx2:
    case VectorPath::Avx512:
        break;
#endif
    }
    return false;
}

VectorPath ActiveVectorPath() {
    return Active();
}

bool ForceVectorPath(VectorPath path) {
    if (!VectorPathAvailable(path)) {
        return false;
    }
    Active() = path;
    return true;
}

const char* VectorPathName(VectorPath path) {
    switch (path) {
    case VectorPath::Sse2:
        return "sse2";
    case VectorPath::Avx2:
        return "avx2";
    case VectorPath::Avx512:
        return "avx512";
    case VectorPath::Portable:
        break;
    }
    return "portable";
}

} // namespace VARKO
