// Display modes in the browser. A page cannot change the screen's mode; the nearest it has is
// full-screen mode, in which the canvas keeps its pixel size and is scaled to fill the screen.
// The page may enter it only while the user has just acted on it (the launcher's Start click):
// a change is granted then, and entered when the full-screen window is made. Otherwise it is
// refused, and the framework offers a window instead.

#include "src/platform/web/web_internal.h"

#include <emscripten/emscripten.h>

namespace VARKO::Platform {
namespace {

EM_JS(int, varko_full_screen_allowed, (), {
    var active = !navigator.userActivation || navigator.userActivation.isActive;
    return document.fullscreenEnabled && active ? 1 : 0;
});

EM_JS(void, varko_request_full_screen, (), {
    var canvas = document.getElementById('canvas');
    canvas.style.objectFit = 'contain';
    canvas.requestFullscreen().catch(
        function(error) { console.warn('Full-screen mode refused: ' + error.message); });
});

EM_JS(void, varko_exit_full_screen, (), {
    if (document.fullscreenElement) {
        document.exitFullscreen().catch(function(){});
    }
});

bool modePending = false;

} // namespace

void EnterPendingFullScreen() {
    if (modePending) {
        varko_request_full_screen();
    }
}

bool ChangeDisplayMode(int width, int height, int) {
    modePending = width > 0 && height > 0 && varko_full_screen_allowed() != 0;
    return modePending;
}

void RestoreDisplayMode() {
    modePending = false;
    varko_exit_full_screen();
}

void ShowMouseCursor() {}

} // namespace VARKO::Platform
