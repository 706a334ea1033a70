#pragma once
// A fake of the platform seam for unit tests: windows are plain records, events are queued by the
// test, message boxes are recorded and answered from a script, and the clock is set by hand.

#include "src/platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VARKO::Testing::FakePlatform {

struct ShownMessage {
    std::string text;
    std::string caption;
    Platform::MessageButtons buttons;
    Platform::MessageIcon icon;
};

struct FakeWindow {
    std::string className;
    std::string title;
    Platform::WindowStyle style;
    int x, y, width, height;
    bool alive = true;
    void* slot = nullptr;
    std::vector<Platform::Event> events;
};

struct CopiedRect {
    Platform::WindowHandle window;
    Platform::BitmapHandle bitmap;
    int x, y, width, height;
};

// Back to a fresh system: no windows, no bitmaps, nothing failing, every log empty.
void Reset();

// Every seam call in order, by function name ("CreateNativeWindow", "SwapSurfaceBuffers", ...).
const std::vector<std::string>& Log();
std::size_t CountLog(const std::string& name);
void ClearLog();

// ---- Windows
FakeWindow* Window(Platform::WindowHandle handle);
// The newest window created, or null.
Platform::WindowHandle LastWindow();
std::size_t LiveWindowCount();
void QueueEvent(Platform::WindowHandle window, Platform::Event event);
void FailRegisterClass(bool fail);
void FailCreateWindow(bool fail);
// How much smaller than its outer size a framed window's drawing area is (0 x 0 at first).
void SetWindowFrame(int width, int height);

// ---- GL surface and context
// ChooseSurfaceFormat finds a format only when the stencil bits asked for are at most this.
void SetMaxStencilBits(int bits);
// Each names the seam function to fail: "GetWindowDevice", "SetSurfaceFormat", "CreateGLContext",
// "MakeGLContextCurrent", "ReleaseGLContext", "DeleteGLContext".
void Fail(const std::string& function, bool fail = true);
// Fail the n-th (1-based) call of a function only.
void FailNth(const std::string& function, int n);
const std::vector<Platform::PixelFormatRequest>& FormatRequests();

// ---- Palettes: the surface format DescribeSurfaceFormat reports (true colour by default); the
// system palette's entry i reads (i, i, i); every palette applied is kept.
void ScriptSurfaceFormat(const Platform::SurfaceFormatInfo& format);
const std::vector<std::vector<Platform::PaletteEntry>>& AppliedPalettes();

// ---- Display modes, desktop
void FailDisplayModeChange(bool fail);
void SetDesktopSize(int width, int height);

// ---- Message boxes
const std::vector<ShownMessage>& Messages();
// Answers for Yes/No boxes, used in order; Yes when the script runs out.
void ScriptAnswers(const std::vector<Platform::MessageAnswer>& answers);

// ---- Clock (a high-resolution counter at 1 MHz unless switched off)
void SetClockMilliseconds(double ms);
void AdvanceClock(double ms);
void SetCounterAvailable(bool available);

// ---- Bitmaps: LoadBitmapFile succeeds only for paths scripted here
void ScriptBitmap(const std::string& path, int width, int height);
std::size_t LiveBitmapCount();
const std::vector<CopiedRect>& CopiedRects();
std::string BitmapPath(Platform::BitmapHandle bitmap);

// ---- Pictures: DecodePicture succeeds only for paths scripted here
void ScriptPicture(const std::string& path, const Platform::Picture& picture);

// ---- Fonts: glyph lists are not built; every request is kept, every outline advance is 0.5 em
struct GlyphRequest {
    Platform::FontRequest font;
    int first, count;
    unsigned int base;
    float depth; // 0 for bitmap glyphs
};
const std::vector<GlyphRequest>& GlyphRequests();

} // namespace VARKO::Testing::FakePlatform
