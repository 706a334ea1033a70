#include "src/exception.h"

namespace VARKO {

LumoException::LumoException() : error("Unknown Error."), file("Unknown File."), line(-1) {}

LumoException::LumoException(const std::string& err)
    : error(err), file("Unknown File."), line(-1) {}

LumoException::LumoException(int line, const std::string& file, const std::string& err)
    : error(err), file(file), line(line) {}

std::string ExceptionReport(const LumoException& e) {
    return "Exception at\n\nLine :\t" + std::to_string(e.GetLine()) + "\nFile :\t" +
           e.GetFileName() + "\nError:\t" + e.GetError() + "\n\nThis application will now exit.";
}

} // namespace VARKO
