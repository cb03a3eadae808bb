// The test-cell picture window 173: its class, its thread with the rendering
// context, and the 90 ms timer that animates the lift.
#include "picture/win32/status_picture.h"

#include <cstdlib>

#include "picture/picture_ids.h"
#include "link/device_state.h"
#include "link/thread_failure.h"
#include "picture/status_picture_frame.h"
#include "common/win32/drawn_window.h"
#include "common/win32/gl_support.h"
#include "platform/threads.h"
#include "platform/win32/dpi.h"

namespace {

constexpr wchar_t kClassName[] = L"OrlaStatusImageWndClass";
constexpr UINT kFrameMilliseconds = kCellLiftTickMilliseconds;
constexpr DWORD kStartDelayMilliseconds = 30;
// Pixels of a 96 DPI screen; the frame's projection fills whatever size the
// window has, so on a larger DPI the same picture is drawn larger.
constexpr int kWidth = 210, kHeight = 140, kGapRightOfParameters = 10;
// WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN and the class-specific bit 0x4.
constexpr DWORD kPictureStyle = 0x52000004;

// Everything below belongs to the picture thread.
HWND g_mainWindow = nullptr;
DrawnTarget g_target;
CellLift g_lift;
DrawList g_frame;

int Random() { return std::rand(); }

void DrawStatusPicture(HWND, HDC dc) {
    if (!g_target.Ready()) return;
    BuildStatusPictureFrame(g_deviceState.status, g_lift.cellLift, GetTickCount(), Random, &g_frame);
    ReplayDrawList(g_frame, &g_target, dc);
}

DrawnWindow PictureKind() {
    DrawnWindow kind;
    kind.paint = DrawStatusPicture;
    kind.resize = [](HWND, int width, int height) { ResizeDrawnTarget(&g_target, width, height); };
    kind.tick = [](HWND) { StepCellLift(&g_lift, g_deviceState.status); };
    kind.timerId = IDC_PICTURE;
    kind.frameMilliseconds = kFrameMilliseconds;
    return kind;
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DrawnWindow kind = PictureKind();
    return DrawnWindowProc(kind, window, message, wParam, lParam);
}

void StatusPictureThread(void*) {
    Sleep(kStartDelayMilliseconds);
    const RECT place = StatusPicturePlace(g_mainWindow);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(g_mainWindow, GWLP_HINSTANCE));
    HWND window = CreateWindowExW(0, kClassName, L"", kPictureStyle, place.left, place.top, place.right - place.left,
                                  place.bottom - place.top, g_mainWindow, reinterpret_cast<HMENU>(IDC_PICTURE),
                                  instance, nullptr);
    // WM_SIZE came before the target existed: it takes the size itself.
    if (!MakeDrawnTarget(window, false, &g_target)) SendMessageW(window, WM_CLOSE, 0, 0);

    ExitThread(RunDrawnWindowLoop(window));
}

}  // namespace

RECT StatusPicturePlace(HWND mainWindow) {
    RECT box;
    GetWindowRect(GetDlgItem(mainWindow, IDC_GROUP_PARAMETERS), &box);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&box), 2);
    using platform::Scaled;
    const LONG left = box.right + Scaled(kGapRightOfParameters);
    return RECT{left, box.top, left + Scaled(kWidth), box.top + Scaled(kHeight)};
}

void StartStatusPicture(HWND mainWindow) {
    g_mainWindow = mainWindow;
    RegisterDrawnWindowClass(kClassName, PictureProc,
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow, GWLP_HINSTANCE)));
    if (!platform::StartThread(StatusPictureThread, nullptr, true, nullptr)) ThreadStartFailed();
}
