// The demo: launcher, then the GL window and its frame loop until Escape or a frame says stop.
// The command line is ignored.

#include "app/display_mode.h"
#include "app/launcher.h"
#include "app/scene.h"
#include "src/opengl.h"

namespace {

const int kEscape = 27;

int Run() {
    VARKO::OpenGL gl(DrawScene);
    int res = 1;
    int depth = 2;
    bool full = false;
    if (!VARKO::DoSplash("splash.cfg", res, depth, full)) {
        return 1;
    }
    VARKO::DisplayMode mode = VARKO::ModeFromChoices(res, depth, full);
    gl.SetFullScreen(mode.fullscreen);
    if (!gl.CreateGLWindow("VARKO OpenGL Example", mode.width, mode.height, mode.bits,
                           gl.GetFullScreen())) {
        return 0;
    }
    while (gl.DrawGLScene()) {
        VARKO::Window* window = gl.GetWindow();
        window->DoMessaging();
        if (window->keys[kEscape]) {
            break;
        }
    }
    gl.KillGLWindow();
    return 0;
}

} // namespace

#ifdef _WIN32
#include <windows.h>
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return Run();
}
#else
int main() {
    return Run();
}
#endif
