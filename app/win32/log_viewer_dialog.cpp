// The window that shows the instrument's log.log while the link reads it.
#include "app/win32/log_viewer_dialog.h"

#include "app/log_viewer_ids.h"
#include "app/win32/shell_handles.h"
#include "link/device_state.h"
#include "platform/win32/window_registry.h"
#include "platform/win32/wide.h"

namespace {

void FillClient(HWND viewer) {
    RECT r;
    GetClientRect(viewer, &r);
    MoveWindow(GetDlgItem(viewer, IDC_LOG_TEXT), 0, 0, r.right, r.bottom, TRUE);
}

// The handle goes before the window does: a text the worker sends after
// this finds no LogViewer instead of a window on its way out.
void Forget(HWND viewer) {
    if (WindowHandle(ui::Window::LogViewer) == viewer) RegisterWindow(ui::Window::LogViewer, nullptr);
}

INT_PTR CALLBACK LogViewerProc(HWND viewer, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            RegisterWindow(ui::Window::LogViewer, viewer);
            SendMessageW(viewer, WM_SIZE, 0, 0);
            platform::SetItemText1251(viewer, IDC_LOG_TEXT, "Чтение log.log");
            return TRUE;
        case WM_SIZE: FillClient(viewer); return TRUE;
        case WM_CLOSE:
            g_deviceState.deviceLogRequest = false;  // stops a transfer still running
            Forget(viewer);
            EndDialog(viewer, 1);
            return TRUE;
        case WM_DESTROY: Forget(viewer); return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void ShowLogViewer(HWND owner) {
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_LOG_VIEWER), owner, LogViewerProc, 0);
}
