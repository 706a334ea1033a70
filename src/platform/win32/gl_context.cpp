// OpenGL drawing surfaces and contexts through GDI pixel formats and WGL. The system's choice of
// format is passed on as it is; the framework asks again with less stencil when it finds none.

#include "src/platform/win32/win32_internal.h"

namespace VARKO::Platform {
namespace {

PIXELFORMATDESCRIPTOR Descriptor(const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = static_cast<BYTE>(request.colorBits);
    descriptor.cDepthBits = static_cast<BYTE>(request.depthBits);
    descriptor.cStencilBits = static_cast<BYTE>(request.stencilBits);
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

} // namespace

DeviceHandle GetWindowDevice(WindowHandle window) {
    return window ? FromHdc(GetDC(window->hwnd)) : nullptr;
}

int ChooseSurfaceFormat(DeviceHandle device, const PixelFormatRequest& request) {
    const PIXELFORMATDESCRIPTOR descriptor = Descriptor(request);
    return ChoosePixelFormat(ToHdc(device), &descriptor);
}

bool SetSurfaceFormat(DeviceHandle device, int format, const PixelFormatRequest& request) {
    const PIXELFORMATDESCRIPTOR descriptor = Descriptor(request);
    return SetPixelFormat(ToHdc(device), format, &descriptor) != FALSE;
}

ContextHandle CreateGLContext(DeviceHandle device) {
    return reinterpret_cast<ContextHandle>(wglCreateContext(ToHdc(device)));
}

bool MakeGLContextCurrent(DeviceHandle device, ContextHandle context) {
    return wglMakeCurrent(ToHdc(device), reinterpret_cast<HGLRC>(context)) != FALSE;
}

bool ReleaseGLContext() {
    return wglMakeCurrent(nullptr, nullptr) != FALSE;
}

bool DeleteGLContext(ContextHandle context) {
    return wglDeleteContext(reinterpret_cast<HGLRC>(context)) != FALSE;
}

void SwapSurfaceBuffers(DeviceHandle device) {
    SwapBuffers(ToHdc(device));
}

} // namespace VARKO::Platform
