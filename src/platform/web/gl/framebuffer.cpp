// Per-fragment and frame-buffer state: viewport, clearing, blending, depth, culling, hints. The
// renderer hands the state to WebGL when it draws or clears.
#include "src/platform/web/gl/context.h"
#include "src/platform/web/gl/webgl.h"

namespace VARKO::GLLayer {
namespace {

bool BlendFactorValid(GLenum factor) {
    return factor == GL_ZERO || factor == GL_ONE ||
           (factor >= GL_SRC_COLOR && factor <= GL_SRC_ALPHA_SATURATE);
}

bool ComparisonValid(GLenum function) {
    return function >= GL_NEVER && function <= GL_ALWAYS;
}

// A state command that records in a list and is refused inside glBegin/glEnd.
bool StateCommandDone(Command command) {
    return Compiled(std::move(command)) || !OutsideBeginEnd();
}

} // namespace
} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;
namespace webgl = VARKO::webgl;

void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (StateCommandDone([=] { glViewport(x, y, width, height); })) {
        return;
    }
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    Current().state.viewport = {x, y, width, height};
}

void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    if (!StateCommandDone([=] { glClearColor(r, g, b, a); })) {
        Current().state.clearColour = {r, g, b, a};
    }
}

void GLAPIENTRY glClearDepth(GLclampd depth) {
    if (!StateCommandDone([=] { glClearDepth(depth); })) {
        Current().state.clearDepth = depth < 0 ? 0 : depth > 1 ? 1 : depth;
    }
}

void GLAPIENTRY glClear(GLbitfield mask) {
    if (StateCommandDone([=] { glClear(mask); })) {
        return;
    }
    const GLbitfield known =
        GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_ACCUM_BUFFER_BIT;
    if ((mask & ~known) != 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (Current().feedback.mode == GL_RENDER) {
        ClearBuffers(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
    }
}

void GLAPIENTRY glBlendFunc(GLenum source, GLenum destination) {
    if (StateCommandDone([=] { glBlendFunc(source, destination); })) {
        return;
    }
    if (!BlendFactorValid(source) || !BlendFactorValid(destination)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.blendSource = source;
    Current().state.blendDestination = destination;
}

void GLAPIENTRY glDepthFunc(GLenum function) {
    if (StateCommandDone([=] { glDepthFunc(function); })) {
        return;
    }
    if (!ComparisonValid(function)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.depthFunc = function;
}

void GLAPIENTRY glDepthMask(GLboolean write) {
    if (!StateCommandDone([=] { glDepthMask(write); })) {
        Current().state.depthMask = write != GL_FALSE;
    }
}

void GLAPIENTRY glCullFace(GLenum face) {
    if (StateCommandDone([=] { glCullFace(face); })) {
        return;
    }
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.cullFace = face;
}

void GLAPIENTRY glFrontFace(GLenum orientation) {
    if (StateCommandDone([=] { glFrontFace(orientation); })) {
        return;
    }
    if (orientation != GL_CW && orientation != GL_CCW) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Current().state.frontFace = orientation;
}

// Hints change nothing here; the one the program gives is kept so that it reads back.
void GLAPIENTRY glHint(GLenum target, GLenum mode) {
    if (StateCommandDone([=] { glHint(target, mode); })) {
        return;
    }
    if (mode != GL_FASTEST && mode != GL_NICEST && mode != GL_DONT_CARE) {
        SetError(GL_INVALID_ENUM);
    } else if (target == GL_PERSPECTIVE_CORRECTION_HINT) {
        Current().state.perspectiveHint = mode;
    }
}

void GLAPIENTRY glFlush() {
    if (OutsideBeginEnd()) {
        webgl::Flush();
    }
}

void GLAPIENTRY glFinish() {
    if (OutsideBeginEnd()) {
        webgl::Finish();
    }
}
