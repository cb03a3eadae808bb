// The one window procedure of the drawn windows.
#include "common/win32/drawn_window.h"

namespace {

LRESULT Paint(const DrawnWindow& kind, HWND window) {
    PAINTSTRUCT paint;
    HDC paintDc = BeginPaint(window, &paint);
    if (kind.keepsBitmap) kind.paint(window, paintDc);
    EndPaint(window, &paint);
    if (kind.keepsBitmap) return 0;
    // OpenGL draws outside the paint cycle, on the window's own dc.
    HDC dc = GetDC(window);
    kind.paint(window, dc);
    ReleaseDC(window, dc);
    return 0;
}

}  // namespace

LRESULT DrawnWindowProc(const DrawnWindow& kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool timed = kind.frameMilliseconds != 0;
    switch (message) {
        case WM_CREATE:
            if (!timed) break;
            SetTimer(window, kind.timerId, kind.frameMilliseconds, nullptr);
            // The parent places its children around this one.
            SendMessageW(GetParent(window), WM_SIZE, 0, 0);
            return 1;
        case WM_SIZE:
            if (!kind.resize) break;
            kind.resize(window, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            if (!kind.keepsBitmap) break;
            return 1;
        case WM_DESTROY:
            if (!timed) break;
            return 0;
        case WM_PAINT: return Paint(kind, window);
        case WM_TIMER:
            if (!timed) break;
            if (kind.tick) kind.tick(window);
            SendMessageW(window, WM_PAINT, 0, 0);
            return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
