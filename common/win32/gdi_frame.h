#pragma once
// Drawn frames painted with GDI into a bitmap of the program's own: what a
// window shows is then a bitmap it holds, which it can also hand out
// unchanged (the clipboard), as no OpenGL buffer can be read back reliably.
#include <windows.h>

#include <cstdint>

#include "common/draw_list.h"

// A top-down 32-bit DIB section with a memory DC it stays selected into.
struct FrameBitmap {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* pixels = nullptr;  // 0x00RRGGBB, row 0 at the top
    int width = 0, height = 0;
};

// Makes frame a bitmap of width x height (at least 1 x 1), releasing what it
// held; false, with frame empty, when GDI has no memory for it.
bool MakeFrameBitmap(FrameBitmap* frame, int width, int height);
void ReleaseFrameBitmap(FrameBitmap* frame);

// Paints the ops of list into the bitmap as ReplayDrawList draws them with
// OpenGL: projection, clear, lines and strips, filled shapes in the colour
// of their first point, texts in the bitmap font; while blending is on,
// shapes and lines are mixed with what lies below by their alpha.
void PaintDrawList(const DrawList& list, FrameBitmap* frame);

// The bitmap as a packed CF_DIB (header and bottom-up 32-bit rows) in
// movable global memory for SetClipboardData; null when out of memory.
HGLOBAL FrameAsDib(const FrameBitmap& frame);
