#include "src/opengl.h"

#include "src/exception.h"
#include "src/message_box.h"

#include "src/gl_api.h"

#include <new>

namespace VARKO {
namespace {

using Platform::MessageAnswer;
using Platform::MessageButtons;
using Platform::MessageIcon;

const char* const kCaptionError = "ERROR";
const char* const kCaptionShutdown = "SHUTDOWN ERROR";

void ShowShutdownError(const char* text) {
    ShowMessageBox(text, kCaptionShutdown, MessageButtons::Ok, MessageIcon::Information);
}

// Offers windowed mode when the display cannot switch; false when the user declines.
bool AcceptWindowedMode() {
    MessageAnswer answer =
        ShowMessageBox("The Requested Fullscreen Mode Is Not Supported By\nYour Video "
                       "Card. Use Windowed Mode Instead?",
                       "VARKO GL", MessageButtons::YesNo, MessageIcon::Exclamation);
    if (answer == MessageAnswer::Yes) {
        return true;
    }
    ShowMessageBox("Program Will Now Close.", kCaptionError, MessageButtons::Ok, MessageIcon::Stop);
    return false;
}

// Depth and stencil are asked for at the colour depth, 16 for palette modes; when no format has
// that much stencil, 1 and then 0 stencil bits are tried.
int ChooseFormat(Platform::DeviceHandle device, Platform::PixelFormatRequest& request) {
    int depth = request.colorBits == 8 ? 16 : request.colorBits;
    request.depthBits = depth;
    for (int stencil : {depth, 1, 0}) {
        request.stencilBits = stencil;
        if (int format = Platform::ChooseSurfaceFormat(device, request)) {
            return format;
        }
    }
    return 0;
}

} // namespace

OpenGL::OpenGL(SceneFunction scene) : scene(scene) {}

OpenGL::~OpenGL() {
    if (window) {
        KillGLWindow();
        delete window;
    }
    DropFrameObjects();
}

bool OpenGL::Fail(const char* text) {
    KillGLWindow();
    ShowMessageBox(text, kCaptionError, MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
}

void OpenGL::DropFrameObjects() {
    delete state;
    state = nullptr;
    delete frame;
    frame = nullptr;
}

bool OpenGL::CreateGLWindow(const std::string& title, int width, int height, int bits,
                            bool fullscreenflag) {
    // A window still open goes first, in its own mode, so that its context is released before
    // its surface and not leaked.
    if (hRC || hWnd) {
        KillGLWindow();
    }
    fullscreen = fullscreenflag;
    this->bits = bits;
    if (fullscreen && !Platform::ChangeDisplayMode(width, height, bits)) {
        if (!AcceptWindowedMode()) {
            return false;
        }
        fullscreen = false;
    }
    if (!OpenWindow(title, width, height) || !MakeContext()) {
        return false;
    }
    DropFrameObjects();
    state = new (std::nothrow) StateManager();
    if (!state) {
        return Fail("Cannot create State Manager.");
    }
    Platform::FocusWindow(hWnd);
    // The window was made at the requested outer size; the scene fills its drawing area, which
    // is smaller where the system draws a frame and caption.
    int clientWidth = width, clientHeight = height;
    Platform::GetClientSize(hWnd, clientWidth, clientHeight);
    ReSizeGLScene(clientWidth, clientHeight);
    if (!InitGL()) {
        return Fail("Initialization Failed.");
    }
    frame = new (std::nothrow) Frame();
    if (!frame) {
        return Fail("Cannot create Frame Timer.");
    }
    return true;
}

bool OpenGL::OpenWindow(const std::string& title, int width, int height) {
    delete window;
    window = new (std::nothrow) Window();
    if (!window) {
        return false;
    }
    bool made = fullscreen ? window->Setup(0, 0, width, height, title)
                           : window->SetupTitle(0, 0, width, height, title);
    if (!made) {
        return Fail("Window Creation Error.");
    }
    hInstance = window->GetInstance();
    hWnd = window->GetHandle();
    hDC = Platform::GetWindowDevice(hWnd);
    if (!hDC) {
        return Fail("Can't Create A GL Device Context.");
    }
    return true;
}

bool OpenGL::MakeContext() {
    Platform::PixelFormatRequest request;
    request.colorBits = bits;
    int format = ChooseFormat(hDC, request);
    if (!format) {
        return Fail("Can't Find A Suitable PixelFormat.");
    }
    if (!Platform::SetSurfaceFormat(hDC, format, request)) {
        return Fail("Can't Set The PixelFormat.");
    }
    if (bits == 8) {
        SetPalette();
    }
    hRC = Platform::CreateGLContext(hDC);
    if (!hRC) {
        return Fail("Can't Create A GL Rendering Context.");
    }
    if (!Platform::MakeGLContextCurrent(hDC, hRC)) {
        return Fail("Can't Activate The GL Rendering Context.");
    }
    return true;
}

void OpenGL::KillGLWindow() {
    if (!window) {
        return;
    }
    if (fullscreen) {
        Platform::RestoreDisplayMode();
        Platform::ShowMouseCursor();
    }
    if (hRC) {
        if (!Platform::ReleaseGLContext()) {
            ShowShutdownError("Release Of DC And RC Failed.");
        }
        if (!Platform::DeleteGLContext(hRC)) {
            ShowShutdownError("Release Rendering Context Failed.");
        }
        hRC = nullptr;
    }
    window->Close();
    // The drawing surface goes with its window.
    hWnd = nullptr;
    hDC = nullptr;
}

bool OpenGL::InitGL() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    state->SetDepthTest(true);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_COLOR_MATERIAL);
    state->SetTexturing(true);
    return true;
}

void OpenGL::ReSizeGLScene(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<float>(width) / static_cast<float>(height), 0.1f, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void OpenGL::FillControlData(ControlData& cont) {
    cont.keys = window->GetKeys();
    window->GetMousePosition(cont.mouseX, cont.mouseY);
    window->GetMouseButton(cont.leftButton, cont.rightButton);
    cont.recreate = false;
    cont.quit = false;
    window->GetDimensions(cont.width, cont.height);
    cont.bits = bits;
    cont.fullscreen = !fullscreen;
    cont.state = state;
    frame->Update();
    cont.frameLength = frame->GetLength();
    cont.fps = frame->GetFPS();
}

bool OpenGL::DrawGLScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    ControlData cont;
    FillControlData(cont);
    try {
        if (scene) {
            scene(this, &cont);
        }
    } catch (LumoException e) {
        ShowMessageBox(ExceptionReport(e), kExceptionCaption, MessageButtons::Ok,
                       MessageIcon::Exclamation);
        return false;
    }
    glFlush();
    Platform::SwapSurfaceBuffers(hDC);
    if (cont.quit) {
        return false;
    }
    if (cont.recreate && !Recreate(cont)) {
        return false;
    }
    if (window->BeenSized()) {
        ReSizeGLScene(window->width, window->height);
    }
    return true;
}

// Re-creates the window in the mode the scene asked for, falling back to 640 x 480 x 16.
bool OpenGL::Recreate(const ControlData& cont) {
    std::string title = Platform::GetWindowTitle(hWnd).substr(0, 63);
    bool previousMode = fullscreen;
    KillGLWindow();
    if (CreateGLWindow(title, cont.width, cont.height, cont.bits, cont.fullscreen) ||
        CreateGLWindow(title, 640, 480, 16, previousMode)) {
        return true;
    }
    ShowMessageBox("Fatal Error: Window cannot be opened.", "LumoSDK Fatal Error N1",
                   MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
}

} // namespace VARKO
