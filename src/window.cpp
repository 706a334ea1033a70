#include "src/window.h"

#include <cstdlib>
#include <set>

namespace VARKO {
namespace {

// Class names held by live windows. A name is free again once its window is closed, so the GL
// window can be re-created under its own class name, while a second live window of the same
// class is refused. Never destroyed: a window object with static storage may be closed at exit,
// after every function-local static made before it is gone.
std::set<std::string>& ClassesInUse() {
    static auto* names = new std::set<std::string>();
    return *names;
}

Window* WrapperOf(Platform::WindowHandle window) {
    return static_cast<Window*>(Platform::GetWindowSlot(window));
}

int LowWord(int value) {
    return value & 0xFFFF;
}

} // namespace

Window::~Window() {
    Close();
}

int Window::Register(const std::string& name) {
    if (ClassesInUse().count(name) != 0) {
        return 0;
    }
    return Platform::RegisterWindowClass(name) ? 1 : 0;
}

bool Window::Setup(int x, int y, int wid, int hit, const std::string& name) {
    return Create(x, y, wid, hit, name, Platform::WindowStyle::Popup);
}

bool Window::SetupTitle(int x, int y, int wid, int hit, const std::string& name) {
    return Create(x, y, wid, hit, name, Platform::WindowStyle::Framed);
}

bool Window::Create(int x, int y, int wid, int hit, const std::string& name,
                    Platform::WindowStyle style) {
    width = wid;
    height = hit;
    hInstance = Platform::ModuleHandle();
    if (!Register(name)) {
        return false;
    }
    hWnd = Platform::CreateNativeWindow(name, name, style, x, y, wid, hit);
    if (!hWnd) {
        return false;
    }
    className = name;
    ClassesInUse().insert(name);
    Platform::SetWindowSlot(hWnd, this);
    return true;
}

void Window::Close() {
    if (!hWnd) {
        return;
    }
    Platform::SetWindowSlot(hWnd, nullptr);
    Platform::DestroyNativeWindow(hWnd);
    hWnd = nullptr;
    ClassesInUse().erase(className);
    className.clear();
}

void Window::DoMessaging() {
    Platform::Event event;
    while (hWnd && Platform::PollEvent(hWnd, event)) {
        WndProc(hWnd, event);
    }
}

void Window::DataAccess(int key, int value) {
    switch (key) {
    case kMouseX:
        mouseX = value;
        break;
    case kMouseY:
        mouseY = value;
        break;
    case kLeftButton:
        leftButton = value == 1;
        break;
    case kRightButton:
        rightButton = value == 1;
        break;
    case kKeyDown:
    case kKeyUp:
        // Codes outside 0-255 would write past the flags; nothing sends them, but stay safe.
        if (value >= 0 && value <= 255) {
            keys[value] = key == kKeyDown;
        }
        break;
    case kSized:
        sized = true;
        break;
    case kWidth:
        width = value;
        break;
    case kHeight:
        height = value;
        break;
    default:
        break;
    }
}

bool Window::GetKey(int val) {
    DoMessaging();
    return val >= 0 && val <= 255 && keys[val];
}

bool* Window::GetKeys() {
    DoMessaging();
    return keys;
}

void Window::GetMousePosition(int& x, int& y) {
    DoMessaging();
    x = mouseX;
    y = mouseY;
}

void Window::GetMouseButton(bool& left, bool& right) {
    DoMessaging();
    left = leftButton;
    right = rightButton;
}

void Window::GetDimensions(int& wid, int& hit) const {
    wid = width;
    hit = height;
}

bool Window::BeenSized() {
    bool was = sized;
    sized = false;
    return was;
}

void WndProc(Platform::WindowHandle window, const Platform::Event& event) {
    using Platform::EventType;
    if (event.type == EventType::CloseRequest) {
        std::exit(0);
    }
    Window* wrapper = WrapperOf(window);
    if (!wrapper) {
        return;
    }
    switch (event.type) {
    case EventType::KeyDown:
    case EventType::KeyUp:
        wrapper->DataAccess(event.type == EventType::KeyDown ? kKeyDown : kKeyUp, event.a);
        break;
    case EventType::MouseMove:
        wrapper->DataAccess(kMouseX, LowWord(event.a));
        wrapper->DataAccess(kMouseY, LowWord(event.b));
        break;
    case EventType::LeftButtonDown:
    case EventType::LeftButtonUp:
        wrapper->DataAccess(kLeftButton, event.type == EventType::LeftButtonDown ? 1 : 0);
        break;
    case EventType::RightButtonDown:
    case EventType::RightButtonUp:
        wrapper->DataAccess(kRightButton, event.type == EventType::RightButtonDown ? 1 : 0);
        break;
    case EventType::Resized:
        wrapper->DataAccess(kSized, 0);
        wrapper->DataAccess(kWidth, LowWord(event.a));
        wrapper->DataAccess(kHeight, LowWord(event.b));
        break;
    case EventType::CloseRequest:
        break;
    }
}

} // namespace VARKO
