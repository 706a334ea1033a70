#pragma once

// Which vector unit the field and the surface extraction run on. Every path gives the same bits;
// they differ only in speed. x86-64 builds other than Windows carry the SSE2, AVX2 and AVX-512
// paths and pick the widest the processor and operating system support; other builds carry the
// portable path alone.
namespace VARKO {

enum class VectorPath { Portable, Sse2, Avx2, Avx512 };

inline constexpr VectorPath allVectorPaths[] = {VectorPath::Portable, VectorPath::Sse2,
                                                VectorPath::Avx2, VectorPath::Avx512};

// Whether this build carries the path and this processor can run it.
bool VectorPathAvailable(VectorPath path);
// The path in use: the widest available one unless another has been forced.
VectorPath ActiveVectorPath();
// Makes the field and extraction use path from now on; false (and nothing changes) when it is not
// available.
bool ForceVectorPath(VectorPath path);
// "portable", "sse2", "avx2", "avx512".
const char* VectorPathName(VectorPath path);

} // namespace VARKO
