#include "tests/support/support_paths.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <vector>

namespace VARKO::Testing {
namespace {

// Every directory handed out, removed when the test program ends.
std::vector<std::string>& MadeDirs() {
    static auto* dirs = new std::vector<std::string>();
    return *dirs;
}

void RemoveMadeDirs() {
    std::error_code ignored;
    for (const std::string& dir : MadeDirs()) {
        std::filesystem::remove_all(dir, ignored);
    }
}

} // namespace

std::string SourcePath(const std::string& relative) {
    return std::string(VARKO_SOURCE_ROOT) + "/" + relative;
}

std::string MakeTempDir() {
    // A name nobody holds yet, tried afresh until create_directory makes it (it fails on a name
    // that exists).
    static std::random_device seed;
    static std::mt19937_64 names(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path dir = base / ("varko-test-" + std::to_string(names() % 1000000000));
        std::error_code error;
        if (std::filesystem::create_directory(dir, error)) {
            if (MadeDirs().empty()) {
                std::atexit(RemoveMadeDirs);
            }
            MadeDirs().push_back(dir.string());
            return dir.string();
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

} // namespace VARKO::Testing
