// Message boxes with no owner window. Each box is also written to the standard error stream, as
// on Linux, so a run from a terminal (or a test) keeps a record of what the user was told.

#include "src/platform/win32/win32_internal.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace VARKO::Platform {
namespace {

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return MB_ICONSTOP;
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    default:
        return MB_ICONEXCLAMATION;
    }
}

} // namespace

MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                          MessageButtons buttons, MessageIcon icon) {
    // Binary mode: the record's lines end as on Linux, without a carriage return.
    _setmode(_fileno(stderr), _O_BINARY);
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    const bool asking = buttons == MessageButtons::YesNo;
    const int pressed = MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                                    (asking ? MB_YESNO : MB_OK) | IconStyle(icon));
    if (!asking) {
        return MessageAnswer::Ok;
    }
    return pressed == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace VARKO::Platform
