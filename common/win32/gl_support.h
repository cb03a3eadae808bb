#pragma once
// The thin drawing layer shared by the drawn windows (the test-cell picture
// and the two service graphs): OpenGL, or GDI under Wine. Every call is made
// on the window's own thread, where its rendering context is current.
#include <windows.h>

#include <cstdint>

#include "common/draw_list.h"
#include "common/win32/gdi_frame.h"

// Double-buffered RGBA pixel format on a window's device context. False after
// telling the user ("ChoosePixelFormat failed" / "SetPixelFormat failed").
bool SetupPixelFormat(HDC dc);
// SetupPixelFormat, then a rendering context made current for drawing into
// the window; false when the pixel format failed (the user was told), and
// context null when no context could be made. Under Wine the context draws
// into a hidden stand-in and ReplayDrawList copies each frame into the window.
bool MakeWindowContext(HWND window, HGLRC* context);
// glClearColor / glColor3f of a colour value 0x00BBGGRR, each channel / 256.
void SetClearColorRef(uint32_t color);
void SetColorRef(uint32_t color);

// The 256-glyph bitmap font compiled into the current context's display
// lists: set 0 draws above the raster position, set 1 hangs below it.
struct BitmapFont {
    unsigned base = 0;
};
void BuildBitmapFont(BitmapFont* font);
void DrawTextAbove(const BitmapFont& font, const char* text);
void DrawTextBelow(const BitmapFont& font, const char* text);

// Registers the class of a drawn window (double clicks, the application
// icon, the arrow cursor, a black background); registering it again is
// harmless.
void RegisterDrawnWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance);
// The drawn window's thread loop: messages until WM_QUIT, then the window is
// destroyed; returns the quit code.
DWORD RunDrawnWindowLoop(HWND window);

// What a drawn window draws its frames with, owned by the window's thread:
// an OpenGL context (and font) or, under Wine, a bitmap painted with GDI.
// Wine 8 with Debian's libX11 now and then deadlocks every thread of the
// program when OpenGL threads and the user-interface thread talk to the X
// server at once; painting with GDI keeps the drawn threads off it.
// ORLA_OPENGL=1 in the environment keeps OpenGL under Wine too.
struct DrawnTarget {
    HGLRC context = nullptr;
    BitmapFont font;
    FrameBitmap bitmap;
    bool gdi = false;
    bool Ready() const { return gdi || context != nullptr; }
};
// The window's target: under Wine the GDI bitmap, otherwise MakeWindowContext
// with a black clear colour, the font when withFont, and the viewport of the
// window's client area. False when the pixel format failed (the user was told).
bool MakeDrawnTarget(HWND window, bool withFont, DrawnTarget* target);
// Follows a new client size of the window (WM_SIZE).
void ResizeDrawnTarget(DrawnTarget* target, int width, int height);

// Draws a frame computed by the portable code and presents it in the window
// of dc: on the context (SwapBuffers, or the GDI copy when the context draws
// into a stand-in), or painted into the bitmap and copied into the window.
void ReplayDrawList(const DrawList& list, DrawnTarget* target, HDC dc);
