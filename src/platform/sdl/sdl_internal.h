#pragma once
// Shared between the SDL backend's files only.

#include "src/platform/platform.h"

#include <SDL2/SDL.h>

#include <deque>
#include <string>

#include <signal.h>

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
    bool shown = false;
    std::deque<Event> events;
    NativeDevice device{this};
};

// Ignores SIGPIPE while it lives, around opening connections to the display. An X server now and
// then closes a connection it has just taken; the client's first write on it would raise SIGPIPE
// and end the program, where with the signal ignored it fails like a refused connection and can
// be tried again. Children forked meanwhile (SDL's message boxes) inherit it.
class SigpipeIgnored {
public:
    SigpipeIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &previous_);
    }
    ~SigpipeIgnored() { sigaction(SIGPIPE, &previous_, nullptr); }
    SigpipeIgnored(const SigpipeIgnored&) = delete;
    SigpipeIgnored& operator=(const SigpipeIgnored&) = delete;

private:
    struct sigaction previous_ {};
};

// Starts SDL's video subsystem once; false when there is no display.
bool EnsureVideo();

// Switches every full-screen window back to a window, giving the display its own mode back.
void LeaveFullScreen();

// Makes exit(), Ctrl+C, kill and crashes leave full screen first. Called once, before SDL or GL
// start threads of their own, so that those threads inherit the blocked signals.
void GuardDisplayMode();

} // namespace VARKO::Platform

namespace VARKO::Platform {

// The display mode that ChangeDisplayMode accepted for the next full-screen window, or null.
const SDL_DisplayMode* PendingFullscreenMode();

// The SDL window flags of a style, without the GL flag. Windows start hidden: see ShowWindowOnce.
Uint32 StyleFlags(WindowStyle style);

// Maps the window the first time the program draws into it, presents it, focuses it or pumps its
// events. A GL window is rebuilt once its pixel format is known; showing it only then spares the
// user (and any tool watching the screen) a window that flashes up and is replaced at once.
void ShowWindowOnce(NativeWindow* window);

// The program's full-screen window, or null when none is up.
SDL_Window* FullScreenWindow();

// Replaces the SDL window behind `window` by a new one with the given extra flags, at the same
// place, size and title; false (the old one kept) when SDL cannot make it.
bool RebuildSdlWindow(NativeWindow* window, Uint32 extraFlags);

} // namespace VARKO::Platform
