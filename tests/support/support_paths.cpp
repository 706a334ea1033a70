#include "tests/support/support_paths.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace VARKO::Testing {

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
    return buffer.data();
}

} // namespace VARKO::Testing
