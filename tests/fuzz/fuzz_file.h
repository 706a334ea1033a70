#pragma once
// Hands fuzz input to the file decoders, which only read from named files.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace VARKO::Fuzzing {

// Writes the input to this process's scratch file with the given extension and returns its path.
inline std::string WriteInput(const std::uint8_t* data, std::size_t size, const char* extension) {
    const std::string path = "/tmp/varko-fuzz-" + std::to_string(getpid()) + "." + extension;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        __builtin_trap();
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}

} // namespace VARKO::Fuzzing
