#pragma once
// The one seam between the framework and the operating system.
//
// Each backend (src/platform/sdl, src/platform/win32) implements exactly these functions and
// nothing else; the framework classes above keep all bookkeeping (key flags, window records,
// pixel-format fallbacks, power-of-two rounding, ...). Unit tests link a fake of this seam
// (tests/support/platform_fake.cpp) instead of a backend.
//
// Key codes crossing the seam are Windows virtual-key codes 0-255 (Escape 27, Up 38, Down 40).
// Function names avoid the Win32 API's own names, some of which are macros in <windows.h>.

#include <cstdint>
#include <string>
#include <vector>

namespace VARKO::Platform {

struct NativeWindow;  // a top-level window, defined by each backend
struct NativeDevice;  // the drawing surface of a window (a device context)
struct NativeContext; // an OpenGL rendering context
struct NativeBitmap;  // a Windows bitmap loaded from a file
using WindowHandle = NativeWindow*;
using DeviceHandle = NativeDevice*;
using ContextHandle = NativeContext*;
using BitmapHandle = NativeBitmap*;

// ---- Windows and their event queue ------------------------------------------------------------

enum class WindowStyle {
    Popup,  // borderless
    Framed, // caption, system menu, sizing frame
};

// Makes the window class `name` known to the system (a no-op where there are no classes).
// True on success; a class this process already registered counts as success.
bool RegisterWindowClass(const std::string& name);

// A visible top-level window of class `className` titled `title`, at (x, y) with the given outer
// size. Null on failure.
WindowHandle CreateNativeWindow(const std::string& className, const std::string& title,
                                WindowStyle style, int x, int y, int width, int height);
void DestroyNativeWindow(WindowHandle window);

// The per-window slot that leads from a window back to its wrapper object.
void SetWindowSlot(WindowHandle window, void* owner);
void* GetWindowSlot(WindowHandle window);

// The size of the window's drawing area. A framed window is made at its outer size, so where the
// system draws the frame and caption the drawing area is smaller than the size asked for.
void GetClientSize(WindowHandle window, int& width, int& height);

std::string GetWindowTitle(WindowHandle window);
// The executable's module handle where the system has one (null elsewhere).
void* ModuleHandle();
void FocusWindow(WindowHandle window);

enum class EventType {
    KeyDown,         // a = virtual-key code 0-255
    KeyUp,           // a = virtual-key code 0-255
    MouseMove,       // a = x, b = y in client pixels
    LeftButtonDown,  //
    LeftButtonUp,    //
    RightButtonDown, //
    RightButtonUp,   //
    Resized,         // a = client width, b = client height
    CloseRequest,    // the user asked to close the window
};

struct Event {
    EventType type;
    int a = 0;
    int b = 0;
};

// Takes the next waiting event of this window into `event`; false at once when none is waiting.
// Never blocks, and never takes events of other windows.
bool PollEvent(WindowHandle window, Event& event);

// ---- GL drawing surface and rendering context -------------------------------------------------

struct PixelFormatRequest {
    int colorBits = 0;
    int depthBits = 0;
    int stencilBits = 0;
};

DeviceHandle GetWindowDevice(WindowHandle window); // null on failure
// The system's choice of a double-buffered RGBA format for the request (a format id > 0), or 0
// when it has none to offer. What counts as close is the system's: SDL offers none without the
// requested stencil bits, while Windows may pick a format with fewer (or more) bits than asked.
int ChooseSurfaceFormat(DeviceHandle device, const PixelFormatRequest& request);
bool SetSurfaceFormat(DeviceHandle device, int format, const PixelFormatRequest& request);
ContextHandle CreateGLContext(DeviceHandle device); // null on failure
bool MakeGLContextCurrent(DeviceHandle device, ContextHandle context);
bool ReleaseGLContext();
bool DeleteGLContext(ContextHandle context);
void SwapSurfaceBuffers(DeviceHandle device);

// ---- Palettes for 8-bit surfaces --------------------------------------------------------------

// The format set on a drawing surface: whether it draws through a palette, and where its red,
// green and blue bits lie in a pixel.
struct SurfaceFormatInfo {
    bool needsPalette = false;
    int colorBits = 0;
    int redBits = 0, redShift = 0;
    int greenBits = 0, greenShift = 0;
    int blueBits = 0, blueShift = 0;
};

struct PaletteEntry {
    unsigned char red = 0, green = 0, blue = 0, flags = 0;
};

constexpr unsigned char kPaletteNoCollapse = 0x04; // keep the entry out of the system's sharing

bool DescribeSurfaceFormat(DeviceHandle device, SurfaceFormatInfo& info);
// Entries first..first+count-1 of the system palette.
void ReadSystemPalette(DeviceHandle device, int first, int count, PaletteEntry* entries);
// Makes a 256-entry palette, selects it into the surface (forced into the background) and
// realises it.
void ApplyPalette(DeviceHandle device, const PaletteEntry* entries);

// ---- Display modes and the desktop ------------------------------------------------------------

// Switches the screen to width x height at `bits` per pixel for a full-screen window (where the
// display keeps one depth for all its modes, as on Linux, at the desktop's depth).
bool ChangeDisplayMode(int width, int height, int bits);
void RestoreDisplayMode();
void ShowMouseCursor();
void GetDesktopSize(int& width, int& height);

// ---- Message boxes ----------------------------------------------------------------------------

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Exclamation, Stop, Information };
enum class MessageAnswer { Ok, Yes, No };

// A modal box with no owner window; returns the button the user pressed.
MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                          MessageButtons buttons, MessageIcon icon);

// ---- Clock ------------------------------------------------------------------------------------

// Ticks per second of the high-resolution counter, or 0 when there is none.
std::int64_t CounterFrequency();
std::int64_t CounterValue();
// Milliseconds of a coarser system clock, for systems without the counter.
std::uint32_t Milliseconds();

// ---- Bitmaps for the launcher -----------------------------------------------------------------

// A Windows bitmap file at its stored size; null when it cannot be loaded.
BitmapHandle LoadBitmapFile(const std::string& path);
void GetBitmapSize(BitmapHandle bitmap, int& width, int& height);
void FreeBitmap(BitmapHandle bitmap);
// Copies the rectangle (x, y, width, height) of the bitmap to the same place in the window.
void CopyBitmapRect(WindowHandle window, BitmapHandle bitmap, int x, int y, int width, int height);
// Shows what was copied into the window so far.
void PresentWindow(WindowHandle window);

// ---- General pictures -------------------------------------------------------------------------

// A decoded picture at its own size: rows top row first, 4 bytes per pixel (red, green, blue,
// alpha), no gaps between rows.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

// Decodes a picture file in any format the system's decoder knows (at least JPEG); false on any
// failure, with nothing shown.
bool DecodePicture(const std::string& path, Picture& picture);

// ---- Fonts ------------------------------------------------------------------------------------

// A system font by family name. When no face of that name exists the system's substitute is
// taken.
struct FontRequest {
    std::string face;
    int height = 0;   // em height in pixels
    int weight = 400; // 400 regular, 700 bold
    bool italic = false;
    bool underline = false;
};

// Display lists base..base+count-1 for the characters first..first+count-1: each draws the glyph
// as a bitmap at the raster position and advances that by the glyph's advance. False when no font
// could be opened.
bool BuildBitmapGlyphs(DeviceHandle device, const FontRequest& font, int first, int count,
                       unsigned int base);

// As above, but each list draws the glyph as filled polygons in the z = 0 plane at em height 1.0,
// extruded by `depth` toward -z (front, back and side walls, with normals), and ends with a
// translation by the glyph's advance; advances[i] receives that advance in em units.
bool BuildOutlineGlyphs(DeviceHandle device, const FontRequest& font, int first, int count,
                        unsigned int base, float depth, float* advances);

} // namespace VARKO::Platform
