#pragma once
#include "src/platform/platform.h"
#include "src/state.h"
#include "src/timer.h"
#include "src/window.h"

#include <string>

namespace VARKO {

class OpenGL;

// What the frame driver hands the scene each frame; lives on the driver's stack for that call.
struct ControlData {
    bool quit = false;
    bool recreate = false;
    int mouseX = 0;
    int mouseY = 0;
    bool leftButton = false;
    bool rightButton = false;
    bool* keys = nullptr;
    int width = 0;
    int height = 0;
    int bits = 0;
    bool fullscreen = false; // the mode a re-created window gets: the opposite of the current one
    StateManager* state = nullptr;
    float frameLength = 0.0f;
    int fps = 0;
};

// The scene entry the frame driver calls once per frame.
using SceneFunction = void (*)(OpenGL* gl, ControlData* cont);

// The GL window: window wrapper, drawing surface, rendering context, state cache and frame timer.
class OpenGL {
public:
    explicit OpenGL(SceneFunction scene = nullptr);
    ~OpenGL();
    OpenGL(const OpenGL&) = delete;
    OpenGL& operator=(const OpenGL&) = delete;

    bool CreateGLWindow(const std::string& title, int width, int height, int bits,
                        bool fullscreenflag);
    void KillGLWindow();
    bool InitGL();
    void ReSizeGLScene(int width, int height);
    bool DrawGLScene();
    // The palette of an 8-bit drawing surface that asks for one (nothing otherwise).
    void SetPalette();
    static unsigned char ComponentFromIndex(unsigned int i, unsigned int nbits, unsigned int shift);

    void SetFullScreen(bool full) { fullscreen = full; }
    bool GetFullScreen() const { return fullscreen; }
    Window* GetWindow() const { return window; }
    Platform::DeviceHandle GetDC() const { return hDC; }

    bool fullscreen = true;
    Platform::DeviceHandle hDC = nullptr;
    Platform::ContextHandle hRC = nullptr;
    Platform::WindowHandle hWnd = nullptr;
    void* hInstance = nullptr;
    int bits = 0;
    Window* window = nullptr;
    StateManager* state = nullptr;
    Frame* frame = nullptr;

private:
    bool OpenWindow(const std::string& title, int width, int height);
    bool MakeContext();
    bool Fail(const char* text);
    void FillControlData(ControlData& cont);
    bool Recreate(const ControlData& cont);
    void DropFrameObjects();

    SceneFunction scene;
};

} // namespace VARKO
