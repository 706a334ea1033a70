#pragma once
#include "src/platform/platform.h"

#include <string>

namespace VARKO {

// One top-level window with polled input. The window procedure records key, mouse and size
// events into the wrapper; callers read the newest state, each read first emptying the window's
// event queue. Nothing is delivered by callback.
class Window {
public:
    Window() = default;
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Non-zero when the class may be used for a new window.
    int Register(const std::string& name);
    // A borderless pop-up, or a framed window with caption and sizing frame, whose class name and
    // title are both `name`, at (x, y) with outer size wid x hit.
    bool Setup(int x, int y, int wid, int hit, const std::string& name);
    bool SetupTitle(int x, int y, int wid, int hit, const std::string& name);
    void Close();

    // Handles every event waiting for this window; returns at once when there is none.
    void DoMessaging();
    void DataAccess(int key, int value);

    bool GetKey(int val);
    bool* GetKeys();
    void GetMousePosition(int& x, int& y);
    void GetMouseButton(bool& left, bool& right);
    void GetDimensions(int& wid, int& hit) const;
    bool BeenSized();

    Platform::WindowHandle GetHandle() const { return hWnd; }
    void* GetInstance() const { return hInstance; }

    int width = 0;
    int height = 0;
    int mouseX = 0;
    int mouseY = 0;
    bool leftButton = false;
    bool rightButton = false;
    bool keys[256] = {};
    bool sized = false;
    Platform::WindowHandle hWnd = nullptr;
    void* hInstance = nullptr;

private:
    bool Create(int x, int y, int wid, int hit, const std::string& name,
                Platform::WindowStyle style);
    std::string className;
};

// DataAccess codes used by the window procedure.
enum WindowData {
    kMouseX = 19,
    kMouseY = 20,
    kLeftButton = 21,
    kRightButton = 22,
    kKeyDown = 23,
    kKeyUp = 24,
    kSized = 25,
    kWidth = 32,
    kHeight = 33,
};

// The one window procedure: turns an event of `window` into DataAccess calls on the wrapper
// attached to it (none before attachment and after detachment). A close request ends the process
// with status 0.
void WndProc(Platform::WindowHandle window, const Platform::Event& event);

} // namespace VARKO
