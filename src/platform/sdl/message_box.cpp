// Message boxes through SDL2. Where the system cannot show one, its text and the answer taken
// go to the standard error stream instead.

#include "src/platform/sdl/sdl_internal.h"

#include <cstdio>

namespace VARKO::Platform {
namespace {

Uint32 IconFlags(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return SDL_MESSAGEBOX_ERROR;
    case MessageIcon::Information:
        return SDL_MESSAGEBOX_INFORMATION;
    default:
        return SDL_MESSAGEBOX_WARNING;
    }
}

constexpr int kShowAttempts = 3;

// The box opens a connection of its own to the display, which may be turned away as the program's
// first one may be (see SigpipeIgnored): it is tried again a few times before the text goes to
// the standard error stream.
bool ShowSdlMessageBox(const SDL_MessageBoxData& box, int& pressed) {
    SigpipeIgnored whileShown;
    for (int attempt = 0; attempt < kShowAttempts; ++attempt) {
        if (SDL_ShowMessageBox(&box, &pressed) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                          MessageButtons buttons, MessageIcon icon) {
    const Uint32 enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    const Uint32 escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    const SDL_MessageBoxButtonData ok[] = {{enter | escape, 0, "OK"}};
    const SDL_MessageBoxButtonData yesNo[] = {{enter, 1, "Yes"}, {escape, 2, "No"}};
    bool asking = buttons == MessageButtons::YesNo;

    SDL_MessageBoxData box{};
    // Window managers keep a full-screen window above ordinary ones; a box that belongs to it is
    // kept in front of it instead of opening unseen behind.
    box.window = FullScreenWindow();
    box.flags = IconFlags(icon);
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = asking ? 2 : 1;
    box.buttons = asking ? yesNo : ok;
    int pressed = 0;
    if (!ShowSdlMessageBox(box, pressed)) {
        // The user never saw the question, so the cautious answer is taken for them.
        pressed = asking ? 2 : 0;
        std::fprintf(stderr,
                     "The system could not show the message box \"%s\" (%s). Its text: %s\n"
                     "Answer taken: %s\n",
                     caption.c_str(), SDL_GetError(), text.c_str(), asking ? "No" : "OK");
    }
    if (!asking) {
        return MessageAnswer::Ok;
    }
    return pressed == 1 ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace VARKO::Platform
