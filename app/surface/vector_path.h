#pragma once

#include "app/surface/kernels.h"

#include <span>
#include <string_view>

// Which vector unit the field and the surface extraction run on. Every path gives the same bits;
// they differ only in speed. Each path is one source file that defines one VectorPath; the list
// in vector_path.cpp names those this build carries, and the widest that runs here is used unless
// another is forced.
//
// A new path: a file path_NAME.cpp that defines its `Lanes` (see kernels.inl), includes
// kernels.inl and defines `extern const VectorPath NAMEPath`; one line in the list, under the
// define that says the build carries it; and in app/CMakeLists.txt the condition, compile options
// and define for that file. The identity tests pick it up from the list.
namespace VARKO {

struct VectorPath {
    // What the processor and operating system must offer beyond what the build already assumes.
    // The operating system counts too: it must save the wider registers.
    enum class Needs { Nothing, X86Avx2, X86Avx512F };

    const char* name; // as --path= takes it
    Needs needs;
    Surface::FieldKernel field;
    Surface::MarkKernel markNotBelow;
};

// The paths this build carries, narrowest first.
std::span<const VectorPath* const> CarriedVectorPaths();
// The carried path of that name, or null.
const VectorPath* FindVectorPath(std::string_view name);
bool VectorPathRunsHere(const VectorPath& path);
// The path in use: the widest that runs here unless another has been forced.
const VectorPath& ActiveVectorPath();
// Makes the field and extraction use path from now on; false (and nothing changes) when it cannot
// run here.
bool ForceVectorPath(const VectorPath& path);

} // namespace VARKO
