#pragma once
// The one window procedure of the drawn windows (the test-cell picture, the
// service graphs, the trend picture); what tells them apart comes in a
// DrawnWindow, which each window's own procedure hands over.
#include <windows.h>

struct DrawnWindow {
    // Paints a frame into dc. A window that redraws on a timer paints after
    // the update region is validated, on a dc of its own; one that keeps its
    // frame in a bitmap paints inside BeginPaint, on the paint dc.
    void (*paint)(HWND window, HDC dc) = nullptr;
    // Follows a new client size (WM_SIZE); null: the size is left to Windows.
    void (*resize)(HWND window, int width, int height) = nullptr;
    // Advances the animation before each timed repaint; may be null.
    void (*tick)(HWND window) = nullptr;
    // The redraw timer, set at WM_CREATE, when the parent is asked to lay
    // out its children again; 0 milliseconds: no timer and no WM_CREATE of its own.
    UINT_PTR timerId = 0;
    UINT frameMilliseconds = 0;
    // The frame is a bitmap that covers the window: the background is never erased.
    bool keepsBitmap = false;
};

// The window procedure for a drawn window of the given kind; runs on the window's thread.
LRESULT DrawnWindowProc(const DrawnWindow& kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
