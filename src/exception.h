#pragma once
#include <string>

namespace VARKO {

// The framework's one exception type: thrown by value at the place of the fault, caught only by
// the frame driver, which shows Report() in a message box and ends the run.
class LumoException {
public:
    LumoException();
    explicit LumoException(const std::string& err);
    LumoException(int line, const std::string& file, const std::string& err);
    LumoException(const LumoException& other) = default;
    LumoException& operator=(const LumoException& other) = default;

    int GetLine() const { return line; }
    std::string GetFileName() const { return file; }
    std::string GetError() const { return error; }

private:
    std::string error;
    std::string file;
    int line;
};

// The seven-line text of the exception report box.
std::string ExceptionReport(const LumoException& e);

inline constexpr const char* kExceptionCaption = "VARKO Exception";

} // namespace VARKO
