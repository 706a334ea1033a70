// Win32 windows and their message queues. The window procedure turns the messages the framework
// records into seam events in the window's own queue; the framework's pump takes them from there.
// The NativeWindow is stored in the window's user-data slot only after creation, so the messages
// sent while the window is made and first shown (its first WM_SIZE among them) are dropped.

#include "src/platform/win32/win32_internal.h"

#include "src/platform/event_queue.h"

namespace VARKO::Platform {
namespace {

NativeWindow* NativeOf(HWND hwnd) {
    return reinterpret_cast<NativeWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

int LowWord(LPARAM value) {
    return static_cast<int>(LOWORD(value));
}
int HighWord(LPARAM value) {
    return static_cast<int>(HIWORD(value));
}

// The seam event of a message, or false for messages the window does not record.
bool Translate(UINT message, WPARAM wParam, LPARAM lParam, Event& event) {
    switch (message) {
    case WM_KEYDOWN:
        event = {EventType::KeyDown, static_cast<int>(wParam & 0xFF), 0};
        return true;
    case WM_KEYUP:
        event = {EventType::KeyUp, static_cast<int>(wParam & 0xFF), 0};
        return true;
    case WM_MOUSEMOVE:
        event = {EventType::MouseMove, LowWord(lParam), HighWord(lParam)};
        return true;
    case WM_LBUTTONDOWN:
        event = {EventType::LeftButtonDown};
        return true;
    case WM_LBUTTONUP:
        event = {EventType::LeftButtonUp};
        return true;
    case WM_RBUTTONDOWN:
        event = {EventType::RightButtonDown};
        return true;
    case WM_RBUTTONUP:
        event = {EventType::RightButtonUp};
        return true;
    case WM_SIZE:
        event = {EventType::Resized, LowWord(lParam), HighWord(lParam)};
        return true;
    case WM_CLOSE:
        event = {EventType::CloseRequest};
        return true;
    default:
        return false;
    }
}

bool IsPowerSavingCommand(UINT message, WPARAM wParam) {
    const WPARAM command = wParam & 0xFFF0;
    return message == WM_SYSCOMMAND && (command == SC_SCREENSAVE || command == SC_MONITORPOWER);
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        return 0;
    }
    // Neither the screen saver nor monitor power-down starts while the window is active.
    if (IsPowerSavingCommand(message, wParam)) {
        return 0;
    }
    Event event{EventType::KeyDown};
    if (Translate(message, wParam, lParam, event)) {
        // A close request is the framework's to act on: DefWindowProc would destroy the window.
        if (NativeWindow* window = NativeOf(hwnd)) {
            window->events.push_back(event);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

// While the program has a window, neither the screen saver nor the display's power saving starts
// (the swallowed system commands alone do not stop the latter); the last window gone, the system
// may blank the display again.
int liveWindows = 0;

void KeepDisplayAwake(bool awake) {
    SetThreadExecutionState(awake ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED : ES_CONTINUOUS);
}

} // namespace

bool RegisterWindowClass(const std::string& name) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = Instance();
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name.c_str();
    if (RegisterClassA(&windowClass) != 0) {
        return true;
    }
    // A window re-created under the same class name finds the class still registered.
    WNDCLASSA existing{};
    return GetClassInfoA(Instance(), name.c_str(), &existing) != 0;
}

WindowHandle CreateNativeWindow(const std::string& className, const std::string& title,
                                WindowStyle style, int x, int y, int width, int height) {
    const DWORD windowStyle =
        (style == WindowStyle::Popup ? WS_POPUP : WS_OVERLAPPEDWINDOW) | WS_VISIBLE;
    HWND hwnd = CreateWindowExA(0, className.c_str(), title.c_str(), windowStyle, x, y, width,
                                height, nullptr, nullptr, Instance(), nullptr);
    if (!hwnd) {
        return nullptr;
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    if (liveWindows++ == 0) {
        KeepDisplayAwake(true);
    }
    auto* window = new NativeWindow();
    window->hwnd = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    return window;
}

void DestroyNativeWindow(WindowHandle window) {
    SetWindowLongPtrA(window->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(window->hwnd);
    delete window;
    if (--liveWindows == 0) {
        KeepDisplayAwake(false);
    }
}

void SetWindowSlot(WindowHandle window, void* owner) {
    if (window) {
        window->slot = owner;
    }
}

void* GetWindowSlot(WindowHandle window) {
    return window ? window->slot : nullptr;
}

void GetClientSize(WindowHandle window, int& width, int& height) {
    RECT client{};
    GetClientRect(window->hwnd, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

std::string GetWindowTitle(WindowHandle window) {
    char title[64] = {};
    GetWindowTextA(window->hwnd, title, sizeof title);
    return title;
}

void* ModuleHandle() {
    return Instance();
}

void FocusWindow(WindowHandle window) {
    SetFocus(window->hwnd);
}

bool PollEvent(WindowHandle window, Event& event) {
    MSG message;
    while (window->events.empty() && PeekMessageA(&message, window->hwnd, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return TakeEvent(window->events, event);
}

} // namespace VARKO::Platform
