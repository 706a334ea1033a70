#pragma once
#include "src/platform/platform.h"

#include <string>

namespace VARKO {

// A modal box with no owner window, as every part of the framework and the scene shows one. Its
// line "[caption] text" goes to the standard error stream first, so a run from a terminal (or a
// test) keeps a record of what the user was told, whichever system draws the box.
Platform::MessageAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                       Platform::MessageButtons buttons,
                                       Platform::MessageIcon icon);

} // namespace VARKO
