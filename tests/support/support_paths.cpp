#include "tests/support/support_paths.h"

#include <cstdlib>
#include <filesystem>
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
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/varko-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    if (MadeDirs().empty()) {
        std::atexit(RemoveMadeDirs);
    }
    MadeDirs().push_back(buffer.data());
    return buffer.data();
}

} // namespace VARKO::Testing
