// SDL2 windows and their event queues. SDL delivers one event queue for the whole program; the
// backend sorts it into one queue per window so that a window's pump only takes its own events.
// SDL sizes a window by its client area, so the size asked for is the client size here (the
// frame, where a window manager adds one, comes on top).

#include "src/platform/sdl/sdl_internal.h"

#include "src/platform/event_queue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

namespace VARKO::Platform {
namespace {

// Never destroyed: the exit handler below still reads it after static objects are gone.
std::map<Uint32, NativeWindow*>& WindowsById() {
    static auto* windows = new std::map<Uint32, NativeWindow*>();
    return *windows;
}

// Held while the list changes or is read, and while an SDL window in it is replaced or destroyed:
// the thread that takes Ctrl+C and kill leaves full screen through this list while the main thread
// may be making a window anew. Never destroyed, like the list.
std::mutex& WindowsLock() {
    static auto* lock = new std::mutex();
    return *lock;
}

using WindowsGuard = std::unique_lock<std::mutex>;

// The main thread holds the lock for the time an SDL call takes. One that holds it longer is
// stuck, or is the very thread that crashed inside it; leaving full screen then goes on without it
// (the process is ending, and the give-up alarm still bounds the wait on the display). Tried in
// short steps rather than with a timed lock, which ThreadSanitizer does not follow.
WindowsGuard LockWindowsUnlessStuck() {
    constexpr auto kStep = std::chrono::milliseconds(2);
    constexpr int kSteps = 250;
    WindowsGuard guard(WindowsLock(), std::defer_lock);
    for (int step = 0; step < kSteps && !guard.try_lock(); ++step) {
        std::this_thread::sleep_for(kStep);
    }
    return guard;
}

int TranslateKeyRange(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F9) {
        return 112 + (key - SDLK_F1);
    }
    if (key >= SDLK_F11 && key <= SDLK_F12) {
        return 122 + (key - SDLK_F11);
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return 97 + (key - SDLK_KP_1);
    }
    return -1;
}

// Windows virtual-key code of an SDL key, or -1 for keys that are not recorded (Alt and F10 are
// system keys there and never reach a window's key flags).
int TranslateKey(SDL_Keycode key) {
    static const std::map<SDL_Keycode, int> table = {
        {SDLK_BACKSPACE, 8},      {SDLK_TAB, 9},
        {SDLK_RETURN, 13},        {SDLK_KP_ENTER, 13},
        {SDLK_LSHIFT, 16},        {SDLK_RSHIFT, 16},
        {SDLK_LCTRL, 17},         {SDLK_RCTRL, 17},
        {SDLK_PAUSE, 19},         {SDLK_CAPSLOCK, 20},
        {SDLK_ESCAPE, 27},        {SDLK_SPACE, 32},
        {SDLK_PAGEUP, 33},        {SDLK_PAGEDOWN, 34},
        {SDLK_END, 35},           {SDLK_HOME, 36},
        {SDLK_LEFT, 37},          {SDLK_UP, 38},
        {SDLK_RIGHT, 39},         {SDLK_DOWN, 40},
        {SDLK_PRINTSCREEN, 44},   {SDLK_INSERT, 45},
        {SDLK_DELETE, 46},        {SDLK_KP_0, 96},
        {SDLK_KP_MULTIPLY, 106},  {SDLK_KP_PLUS, 107},
        {SDLK_KP_MINUS, 109},     {SDLK_KP_PERIOD, 110},
        {SDLK_KP_DIVIDE, 111},    {SDLK_NUMLOCKCLEAR, 144},
        {SDLK_SCROLLLOCK, 145},   {SDLK_SEMICOLON, 186},
        {SDLK_EQUALS, 187},       {SDLK_COMMA, 188},
        {SDLK_MINUS, 189},        {SDLK_PERIOD, 190},
        {SDLK_SLASH, 191},        {SDLK_BACKQUOTE, 192},
        {SDLK_LEFTBRACKET, 219},  {SDLK_BACKSLASH, 220},
        {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
    };
    auto found = table.find(key);
    return found != table.end() ? found->second : TranslateKeyRange(key);
}

// With Num Lock off the keypad sends the navigation keys' codes, as it does on Windows.
int TranslateKeypadNavigation(SDL_Keycode key) {
    static const std::map<SDL_Keycode, int> table = {
        {SDLK_KP_7, 36}, {SDLK_KP_8, 38}, {SDLK_KP_9, 33},      {SDLK_KP_4, 37},
        {SDLK_KP_5, 12}, {SDLK_KP_6, 39}, {SDLK_KP_1, 35},      {SDLK_KP_2, 40},
        {SDLK_KP_3, 34}, {SDLK_KP_0, 45}, {SDLK_KP_PERIOD, 46},
    };
    auto found = table.find(key);
    return found != table.end() ? found->second : -1;
}

bool TranslateKeyEvent(const SDL_KeyboardEvent& key, Event& out) {
    if (key.keysym.mod & KMOD_ALT) {
        return false;
    }
    int code = -1;
    if (!(key.keysym.mod & KMOD_NUM)) {
        code = TranslateKeypadNavigation(key.keysym.sym);
    }
    if (code < 0) {
        code = TranslateKey(key.keysym.sym);
    }
    if (code < 0) {
        return false;
    }
    out = {key.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp, code, 0};
    return true;
}

bool TranslateButton(const SDL_MouseButtonEvent& button, Event& out) {
    bool down = button.type == SDL_MOUSEBUTTONDOWN;
    if (button.button == SDL_BUTTON_LEFT) {
        out = {down ? EventType::LeftButtonDown : EventType::LeftButtonUp, 0, 0};
        return true;
    }
    if (button.button == SDL_BUTTON_RIGHT) {
        out = {down ? EventType::RightButtonDown : EventType::RightButtonUp, 0, 0};
        return true;
    }
    return false;
}

bool TranslateWindowEvent(const SDL_WindowEvent& window, Event& out) {
    if (window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        out = {EventType::Resized, window.data1, window.data2};
        return true;
    }
    if (window.event == SDL_WINDOWEVENT_CLOSE) {
        out = {EventType::CloseRequest, 0, 0};
        return true;
    }
    return false;
}

// The window an SDL event belongs to and the event in seam terms; false for events no window
// records.
bool Translate(const SDL_Event& sdl, Uint32& windowId, Event& out) {
    switch (sdl.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        windowId = sdl.key.windowID;
        return TranslateKeyEvent(sdl.key, out);
    case SDL_MOUSEMOTION:
        windowId = sdl.motion.windowID;
        out = {EventType::MouseMove, sdl.motion.x, sdl.motion.y};
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        windowId = sdl.button.windowID;
        return TranslateButton(sdl.button, out);
    case SDL_WINDOWEVENT:
        windowId = sdl.window.windowID;
        return TranslateWindowEvent(sdl.window, out);
    default:
        return false;
    }
}

// SDL updates its windows' state while it takes their events, so that is done under the lock too.
void SortPendingEvents() {
    WindowsGuard guard(WindowsLock());
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl)) {
        Uint32 windowId = 0;
        Event event{EventType::KeyDown};
        if (!Translate(sdl, windowId, event)) {
            continue;
        }
        auto owner = WindowsById().find(windowId);
        if (owner != WindowsById().end()) {
            owner->second->events.push_back(event);
        }
    }
}

SDL_Window* MakeSdlWindow(const NativeWindow& window, Uint32 extraFlags) {
    Uint32 flags = StyleFlags(window.style) | extraFlags;
    const SDL_DisplayMode* mode = PendingFullscreenMode();
    bool fullscreen = mode && window.style == WindowStyle::Popup;
    if (fullscreen) {
        flags |= SDL_WINDOW_FULLSCREEN;
    }
    SDL_Window* sdl = SDL_CreateWindow(window.title.c_str(), window.x, window.y, window.width,
                                       window.height, flags);
    if (sdl && fullscreen && SDL_SetWindowDisplayMode(sdl, mode) != 0) {
        SDL_DestroyWindow(sdl);
        return nullptr;
    }
    return sdl;
}

// Events that SDL produced while it made and showed the window are not recorded, as the window
// has no wrapper yet.
void DropStartupEvents(NativeWindow* window) {
    SortPendingEvents();
    window->events.clear();
}

constexpr int kVideoAttempts = 5;
constexpr Uint32 kVideoRetryMilliseconds = 50;

// False for SDL's drivers that draw nowhere, unless the user asked for one by name.
bool ShowsWindows(const char* driver) {
    if (driver == nullptr) {
        return false;
    }
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if (requested != nullptr && SDL_strstr(requested, driver) != nullptr) {
        return true;
    }
    return SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0 &&
           SDL_strcmp(driver, "evdev") != 0;
}

// An X server now and then turns a new connection away while other clients come and go, and SDL
// then falls back to a driver that shows nothing: the launcher would wait for ever for a click on
// a window no one can see. Such a start is taken back and tried again a few times, and so is one
// whose connection was closed under its first write (see SigpipeIgnored).
bool StartVideo() {
    SigpipeIgnored whileConnecting;
    bool started = false;
    for (int attempt = 0; !started && attempt < kVideoAttempts; ++attempt) {
        if (attempt > 0) {
            SDL_Delay(kVideoRetryMilliseconds);
        }
        started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (started && !ShowsWindows(SDL_GetCurrentVideoDriver())) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            started = false;
        }
    }
    return started;
}

} // namespace

// A full-screen window must give the display its own mode back.
void LeaveFullScreen() {
    WindowsGuard guard = LockWindowsUnlessStuck();
    for (const auto& [id, window] : WindowsById()) {
        if (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_FULLSCREEN) {
            SDL_SetWindowFullscreen(window->sdl, 0);
        }
    }
}

void ShowWindowOnce(NativeWindow* window) {
    if (!window->shown) {
        window->shown = true;
        SDL_ShowWindow(window->sdl);
    }
}

SDL_Window* FullScreenWindow() {
    WindowsGuard guard(WindowsLock());
    for (const auto& [id, window] : WindowsById()) {
        if (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_FULLSCREEN) {
            return window->sdl;
        }
    }
    return nullptr;
}

bool EnsureVideo() {
    static bool started = false;
    static bool handlerSet = false;
    if (!handlerSet) {
        handlerSet = true;
        GuardDisplayMode();
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        // Ctrl+C and kill end the program as usual instead of queueing a quit event.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    }
    if (!started) {
        started = StartVideo();
    }
    static bool told = false;
    if (!started && !told) {
        told = true;
        std::fputs("No display to open windows on (is DISPLAY set?).\n", stderr);
    }
    return started;
}

Uint32 StyleFlags(WindowStyle style) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    return flags | (style == WindowStyle::Popup ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE);
}

bool RegisterWindowClass(const std::string&) {
    return EnsureVideo();
}

WindowHandle CreateNativeWindow(const std::string& className, const std::string& title,
                                WindowStyle style, int x, int y, int width, int height) {
    if (!EnsureVideo()) {
        return nullptr;
    }
    auto* window = new NativeWindow();
    window->className = className;
    window->title = title;
    window->style = style;
    window->x = x;
    window->y = y;
    window->width = width;
    window->height = height;
    window->sdl = MakeSdlWindow(*window, 0);
    if (!window->sdl) {
        delete window;
        return nullptr;
    }
    {
        WindowsGuard guard(WindowsLock());
        WindowsById()[SDL_GetWindowID(window->sdl)] = window;
    }
    DropStartupEvents(window);
    return window;
}

bool RebuildSdlWindow(NativeWindow* window, Uint32 extraFlags) {
    SDL_Window* rebuilt = MakeSdlWindow(*window, extraFlags);
    if (!rebuilt) {
        return false;
    }
    {
        WindowsGuard guard(WindowsLock());
        WindowsById().erase(SDL_GetWindowID(window->sdl));
        SDL_DestroyWindow(window->sdl);
        window->sdl = rebuilt;
        WindowsById()[SDL_GetWindowID(rebuilt)] = window;
    }
    DropStartupEvents(window);
    if (window->shown) {
        SDL_ShowWindow(rebuilt);
    }
    return true;
}

void DestroyNativeWindow(WindowHandle window) {
    {
        WindowsGuard guard(WindowsLock());
        WindowsById().erase(SDL_GetWindowID(window->sdl));
        SDL_DestroyWindow(window->sdl);
    }
    delete window;
}

void SetWindowSlot(WindowHandle window, void* owner) {
    window->slot = owner;
}
void* GetWindowSlot(WindowHandle window) {
    return window->slot;
}
void GetClientSize(WindowHandle window, int& width, int& height) {
    SDL_GetWindowSize(window->sdl, &width, &height);
}
std::string GetWindowTitle(WindowHandle window) {
    return window->title;
}
void* ModuleHandle() {
    return nullptr;
}
void FocusWindow(WindowHandle window) {
    ShowWindowOnce(window);
    SDL_RaiseWindow(window->sdl);
    // Without a window manager nobody else hands the new window the keyboard.
    SDL_SetWindowInputFocus(window->sdl);
}

bool PollEvent(WindowHandle window, Event& event) {
    ShowWindowOnce(window);
    if (window->events.empty()) {
        SortPendingEvents();
    }
    return TakeEvent(window->events, event);
}

} // namespace VARKO::Platform
