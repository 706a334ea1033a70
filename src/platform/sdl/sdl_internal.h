#pragma once
// Shared between the SDL backend's files only.

#include "src/platform/platform.h"

#include <SDL2/SDL.h>

#include <deque>
#include <string>

namespace VARKO::Platform {

struct NativeDevice {
    NativeWindow* window;
};

struct NativeWindow {
    SDL_Window* sdl = nullptr;
    std::string className;
    std::string title;
    WindowStyle style = WindowStyle::Popup;
    int x = 0, y = 0, width = 0, height = 0;
    void* slot = nullptr;
    std::deque<Event> events;
    NativeDevice device{this};
};

// Starts SDL's video subsystem once; false when there is no display.
bool EnsureVideo();

} // namespace VARKO::Platform
