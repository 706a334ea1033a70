// glPushAttrib/glPopAttrib and their client-side pair. A push saves all of the state; a pop
// restores the groups its push named, and of the enables those the groups own.
#include "src/platform/web/gl/context.h"

namespace VARKO::GLLayer {
namespace {

// The attribute group that owns each capability, besides GL_ENABLE_BIT.
GLbitfield CapabilityGroup(int index) {
    if (index == kLighting || index == kColourMaterial ||
        (index >= kLight0 && index < kLight0 + kMaxLights)) {
        return GL_LIGHTING_BIT;
    }
    switch (index) {
    case kBlend:
    case kDither:
        return GL_COLOR_BUFFER_BIT;
    case kCullFace:
        return GL_POLYGON_BIT;
    case kDepthTest:
        return GL_DEPTH_BUFFER_BIT;
    case kNormalize:
        return GL_TRANSFORM_BIT;
    default: // texturing and coordinate generation
        return GL_TEXTURE_BIT;
    }
}

void RestoreEnables(GLbitfield mask, AttribState& to, const AttribState& from) {
    for (int i = 0; i < kCapabilityCount; ++i) {
        if ((mask & (GL_ENABLE_BIT | CapabilityGroup(i))) != 0) {
            to.enabled[i] = from.enabled[i];
        }
    }
}

void Restore(GLbitfield mask, AttribState& to, const AttribState& from) {
    RestoreEnables(mask, to, from);
    if (mask & GL_CURRENT_BIT) {
        to.current = from.current;
    }
    if (mask & GL_LIGHTING_BIT) {
        to.lighting = from.lighting;
    }
    if (mask & GL_TRANSFORM_BIT) {
        to.matrixMode = from.matrixMode;
    }
    if (mask & GL_TEXTURE_BIT) {
        to.boundTexture = from.boundTexture;
        to.sphereGenMode = from.sphereGenMode;
    }
    if (mask & GL_COLOR_BUFFER_BIT) {
        to.clearColour = from.clearColour;
        to.blendSource = from.blendSource;
        to.blendDestination = from.blendDestination;
    }
    if (mask & GL_DEPTH_BUFFER_BIT) {
        to.clearDepth = from.clearDepth;
        to.depthFunc = from.depthFunc;
        to.depthMask = from.depthMask;
    }
    if (mask & GL_VIEWPORT_BIT) {
        to.viewport = from.viewport;
    }
    if (mask & GL_POLYGON_BIT) {
        to.cullFace = from.cullFace;
        to.frontFace = from.frontFace;
    }
    if (mask & GL_LIST_BIT) {
        to.listBase = from.listBase;
    }
    if (mask & GL_HINT_BIT) {
        to.perspectiveHint = from.perspectiveHint;
    }
}

template <typename State>
void Push(std::vector<std::pair<GLbitfield, State>>& stack, GLbitfield mask, const State& state) {
    if (stack.size() >= kMaxAttribDepth) {
        SetError(GL_STACK_OVERFLOW);
        return;
    }
    stack.emplace_back(mask, state);
}

} // namespace
} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;

void GLAPIENTRY glPushAttrib(GLbitfield mask) {
    if (Compiled([=] { glPushAttrib(mask); }) || !OutsideBeginEnd()) {
        return;
    }
    Context& context = Current();
    Push(context.attribStack, mask, context.state);
}

void GLAPIENTRY glPopAttrib() {
    if (Compiled([] { glPopAttrib(); }) || !OutsideBeginEnd()) {
        return;
    }
    Context& context = Current();
    if (context.attribStack.empty()) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    const auto& [mask, saved] = context.attribStack.back();
    Restore(mask, context.state, saved);
    context.attribStack.pop_back();
}

void GLAPIENTRY glPushClientAttrib(GLbitfield mask) {
    if (!OutsideBeginEnd()) {
        return;
    }
    Context& context = Current();
    Push(context.clientStack, mask, context.client);
}

// Only the pixel store is client state here: the layer has no vertex arrays.
void GLAPIENTRY glPopClientAttrib() {
    if (!OutsideBeginEnd()) {
        return;
    }
    Context& context = Current();
    if (context.clientStack.empty()) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    const auto& [mask, saved] = context.clientStack.back();
    if (mask & GL_CLIENT_PIXEL_STORE_BIT) {
        context.client = saved;
    }
    context.clientStack.pop_back();
}
