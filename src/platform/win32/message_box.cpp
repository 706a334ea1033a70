// Message boxes with no owner window.

#include "src/platform/win32/win32_internal.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace VARKO::Platform {
namespace {

// The framework writes a line for each box to the standard error stream. Binary mode, set before
// anything is written: the lines end as on Linux, without a carriage return.
[[maybe_unused]] const int kErrorStreamBinary = _setmode(_fileno(stderr), _O_BINARY);

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
    const bool asking = buttons == MessageButtons::YesNo;
    const int pressed = MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                                    (asking ? MB_YESNO : MB_OK) | IconStyle(icon));
    if (!asking) {
        return MessageAnswer::Ok;
    }
    return pressed == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace VARKO::Platform
