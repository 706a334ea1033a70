// The program's own malloc, calloc and realloc count each call and hand it on to the C library's.
//
// glibc and Emscripten's C library: a program's own malloc family replaces the library's, which
// stays reachable under its internal names (__libc_malloc, ...; Emscripten's aligned allocation
// under its own name); free and the aligned allocations are then replaced too.
// MinGW-w64: the C runtime's allocator sits in a DLL and cannot be replaced, so the link wraps it
// (-Wl,--wrap=malloc sends every call of malloc to __wrap_malloc, and __real_malloc reaches the
// DLL's). The C++ runtime is linked statically, so operator new's calls are wrapped as well.

#include "tools/counting_allocator.h"

#include <cerrno>
#include <cstddef>

#ifdef _WIN32
#define COUNTING(name) __wrap_##name
#define UNDERLYING(name) __real_##name
#else
#define COUNTING(name) name
#define UNDERLYING(name) __libc_##name
#endif

extern "C" {
void* UNDERLYING(malloc)(std::size_t size);
void* UNDERLYING(calloc)(std::size_t count, std::size_t size);
void* UNDERLYING(realloc)(void* block, std::size_t size);
}

namespace {
long allocations = 0;
} // namespace

long HeapAllocations() {
    return allocations;
}

extern "C" {
void* COUNTING(malloc)(std::size_t size) {
    ++allocations;
    return UNDERLYING(malloc)(size);
}
void* COUNTING(calloc)(std::size_t count, std::size_t size) {
    ++allocations;
    return UNDERLYING(calloc)(count, size);
}
void* COUNTING(realloc)(void* block, std::size_t size) {
    ++allocations;
    return UNDERLYING(realloc)(block, size);
}
}

#ifndef _WIN32
#ifdef __EMSCRIPTEN__
#define ALIGNED_UNDERLYING emscripten_builtin_memalign
#else
#define ALIGNED_UNDERLYING __libc_memalign
#endif

extern "C" {
void* ALIGNED_UNDERLYING(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    ++allocations;
    return ALIGNED_UNDERLYING(alignment, size);
}
int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
    ++allocations;
    *block = ALIGNED_UNDERLYING(alignment, size);
    return *block == nullptr ? ENOMEM : 0;
}
void free(void* block) {
    __libc_free(block);
}
}
#endif
