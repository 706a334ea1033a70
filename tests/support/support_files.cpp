#include "tests/support/support_files.h"

#include "src/exception.h"
#include "tests/support/support_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace VARKO::Testing {

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string WriteTempFile(const std::string& name, const Bytes& bytes) {
    const std::string path = MakeTempDir() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
    return WriteTempFile(name, Bytes(text.begin(), text.end()));
}

void ExpectLumoException(const std::function<void()>& action, const std::string& message,
                         const std::string& file, int line) {
    try {
        action();
        ADD_FAILURE() << "nothing thrown, expected " << message;
    } catch (const LumoException& e) {
        EXPECT_EQ(e.GetError(), message);
        EXPECT_EQ(e.GetFileName(), file);
        if (line != 0) {
            EXPECT_EQ(e.GetLine(), line);
        } else {
            EXPECT_GT(e.GetLine(), 0);
        }
    }
}

} // namespace VARKO::Testing
