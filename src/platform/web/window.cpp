// The page's canvas as the window. The browser delivers input to the page, not to a window, so
// keyboard and mouse go to the newest window, which owns the canvas. Key codes in the browser's
// keyCode field are the Windows virtual-key codes already.

#include "src/platform/web/web_internal.h"

#include "src/platform/event_queue.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>

namespace VARKO::Platform {
namespace {

// Replaces the page's canvas by a fresh one of the window's size, titled like the window.
EM_JS(void, varko_make_canvas, (int width, int height, const char* title), {
    var canvas = document.createElement('canvas');
    canvas.id = 'canvas';
    canvas.width = width;
    canvas.height = height;
    canvas.tabIndex = -1;
    canvas.oncontextmenu = function(event) {
        event.preventDefault();
    };
    var old = document.getElementById('canvas');
    if (old) {
        old.replaceWith(canvas);
    } else {
        document.body.appendChild(canvas);
    }
    canvas.focus();
    document.title = UTF8ToString(title);
    Module['canvas'] = canvas;
});

std::vector<NativeWindow*>& LiveWindows() {
    static std::vector<NativeWindow*> windows;
    return windows;
}

NativeWindow* InputWindow() {
    return LiveWindows().empty() ? nullptr : LiveWindows().back();
}

void Deliver(const Event& event) {
    if (NativeWindow* window = InputWindow()) {
        window->events.push_back(event);
    }
}

// Alt combinations belong to the browser, as they belong to the system on Windows.
EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void*) {
    if (MessageBoxShown() || key->altKey || key->keyCode <= 0 || key->keyCode > 255) {
        return EM_FALSE;
    }
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    Deliver({down ? EventType::KeyDown : EventType::KeyUp, static_cast<int>(key->keyCode), 0});
    return EM_TRUE; // arrows and space would otherwise scroll the page
}

bool ButtonEvent(int type, unsigned short button, Event& out) {
    const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
    if (button == 0) {
        out = {down ? EventType::LeftButtonDown : EventType::LeftButtonUp, 0, 0};
        return true;
    }
    if (button == 2) {
        out = {down ? EventType::RightButtonDown : EventType::RightButtonUp, 0, 0};
        return true;
    }
    return false;
}

// Presses and moves over the canvas, at canvas pixels.
EM_BOOL OnCanvasMouse(int type, const EmscriptenMouseEvent* mouse, void*) {
    if (MessageBoxShown()) {
        return EM_FALSE;
    }
    Deliver(
        {EventType::MouseMove, static_cast<int>(mouse->targetX), static_cast<int>(mouse->targetY)});
    Event button{EventType::MouseMove};
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && ButtonEvent(type, mouse->button, button)) {
        Deliver(button);
    }
    return EM_FALSE;
}

// Releases anywhere on the page, as a window that holds the mouse while a button is down sees
// them: a button let go beside the canvas must not stay down.
EM_BOOL OnRelease(int type, const EmscriptenMouseEvent* mouse, void*) {
    Event button{EventType::MouseMove};
    if (!MessageBoxShown() && ButtonEvent(type, mouse->button, button)) {
        Deliver(button);
    }
    return EM_FALSE;
}

// The canvas is new with each window, so its listeners are too.
void ListenToCanvas() {
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_TRUE, OnCanvasMouse);
    emscripten_set_mousemove_callback(kCanvas, nullptr, EM_TRUE, OnCanvasMouse);
}

void ListenOnce() {
    static bool listening = false;
    if (listening) {
        return;
    }
    listening = true;
    const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(page, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(page, nullptr, EM_TRUE, OnKey);
    emscripten_set_mouseup_callback(page, nullptr, EM_TRUE, OnRelease);
}

bool swapWaited = false;
bool frameShown = false;

} // namespace

void NoteSwapWaited() {
    swapWaited = true;
    frameShown = true;
}

bool FirstFrameShown() {
    return frameShown;
}

void YieldToBrowser() {
    if (!swapWaited) {
        emscripten_sleep(0);
    }
    swapWaited = false;
}

bool RegisterWindowClass(const std::string&) {
    return true;
}

WindowHandle CreateNativeWindow(const std::string& className, const std::string& title,
                                WindowStyle style, int, int, int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    ListenOnce();
    auto* window = new NativeWindow();
    window->className = className;
    window->title = title;
    window->style = style;
    window->width = width;
    window->height = height;
    varko_make_canvas(width, height, title.c_str());
    ListenToCanvas();
    LiveWindows().push_back(window);
    if (style == WindowStyle::Popup) {
        EnterPendingFullScreen();
    }
    return window;
}

void DestroyNativeWindow(WindowHandle window) {
    std::erase(LiveWindows(), window);
    delete window;
}

void SetWindowSlot(WindowHandle window, void* owner) {
    window->slot = owner;
}
void* GetWindowSlot(WindowHandle window) {
    return window->slot;
}
// The canvas is the drawing area and keeps the size it was made at.
void GetClientSize(WindowHandle window, int& width, int& height) {
    width = window->width;
    height = window->height;
}
std::string GetWindowTitle(WindowHandle window) {
    return window->title;
}
void* ModuleHandle() {
    return nullptr;
}
void FocusWindow(WindowHandle) {}

bool PollEvent(WindowHandle window, Event& event) {
    if (window->events.empty()) {
        YieldToBrowser();
    }
    return TakeEvent(window->events, event);
}

} // namespace VARKO::Platform
