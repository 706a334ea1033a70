#include "src/message_box.h"

#include <cstdio>

namespace VARKO {

Platform::MessageAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                       Platform::MessageButtons buttons,
                                       Platform::MessageIcon icon) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return Platform::ShowMessage(text, caption, buttons, icon);
}

} // namespace VARKO
