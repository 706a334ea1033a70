#pragma once
#include <functional>
#include <string>
#include <vector>

namespace VARKO::Testing {

using Bytes = std::vector<unsigned char>;

// The whole file, or nothing when it cannot be read.
Bytes ReadBytes(const std::string& path);

// Writes a new file called `name` into a fresh temporary directory and returns its path.
std::string WriteTempFile(const std::string& name, const Bytes& bytes);
std::string WriteTempFile(const std::string& name, const std::string& text);

// Runs `action` and expects it to throw the framework's exception with this message, the source
// file literal `file` and the report line `line` (any real line when 0).
void ExpectLumoException(const std::function<void()>& action, const std::string& message,
                         const std::string& file, int line = 0);

} // namespace VARKO::Testing
