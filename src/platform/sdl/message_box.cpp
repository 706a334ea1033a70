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
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
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
