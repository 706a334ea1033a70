#pragma once
#include <string>

namespace VARKO::Testing {

// Absolute path of a file under the repository root (fixtures, data, run-directory files).
std::string SourcePath(const std::string& relative);

// A fresh, empty directory under the system's temporary folder, removed with everything in it
// when the test program ends: tests write their scratch files there.
std::string MakeTempDir();

} // namespace VARKO::Testing
