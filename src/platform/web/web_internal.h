#pragma once
// Shared between the web backend's files only.

#include "src/platform/platform.h"

#include <deque>
#include <string>
#include <vector>

namespace VARKO::Platform {

struct NativeDevice {
    NativeWindow* window;
};

// A window is the page's canvas: each new window gets a fresh canvas element of its size (a
// canvas keeps the first kind of drawing context it hands out, and the launcher draws in 2D
// while the GL window needs WebGL).
struct NativeWindow {
    std::string className;
    std::string title;
    WindowStyle style = WindowStyle::Popup;
    int width = 0, height = 0;
    void* slot = nullptr;
    std::deque<Event> events;
    std::vector<unsigned char> pixels; // what the launcher copied in, RGBA, shown by Present
    NativeDevice device{this};
};

// The CSS selector of the canvas that the newest window owns.
constexpr const char* kCanvas = "#canvas";

// True while a message box covers the page: input then belongs to the box.
bool MessageBoxShown();

// Gives the browser its turn (events, drawing). A pump that finds nothing waiting yields unless
// a buffer swap has already waited for the browser since the last pump, so each pass of a loop
// that pumps, and swaps or not, yields once.
void YieldToBrowser();
void NoteSwapWaited();

// Asks the browser to show the canvas full screen when a display-mode change is pending.
void EnterPendingFullScreen();

} // namespace VARKO::Platform
