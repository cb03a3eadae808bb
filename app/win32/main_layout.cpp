// The main window's placement at start, its layout on resizing and its size limits.
#include <initializer_list>

#include "common/program_settings.h"
#include "app/win32/main_window.h"
#include "app/resource_ids.h"
#include "app/win32/shell_handles.h"
#include "app/window_rules.h"
#include "picture/win32/status_picture.h"
#include "platform/win32/dpi.h"
#include "platform/win32/window_registry.h"

namespace {
int g_minWindowWidth = kMinWindowWidth;
int g_minWindowHeight = kMinWindowHeight;

using platform::Scaled;

RECT ChildRect(HWND parent, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void SetWidth(HWND control, int width, int height) {
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}
}  // namespace

void PlaceMainWindow(HWND window) {
    const ProgramSettings& s = g_programSettings;
    RECT current;
    GetWindowRect(window, &current);
    // Still the template's size here: whatever the font, its controls fit.
    g_minWindowHeight = MinWindowHeight(current.bottom - current.top, Scaled(kMinWindowHeight));
    RECT client;
    GetClientRect(window, &client);
    const int frame = static_cast<int>(current.right - current.left - client.right);
    g_minWindowWidth = MinWindowWidth(static_cast<int>(StatusPicturePlace(window).right), frame,
                                      Scaled(kMinWindowWidth), Scaled(8));
    Placement p = PlaceWindow({s.windowX, s.windowY, s.windowW, s.windowH}, current.right - current.left,
                              current.bottom - current.top, GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN), g_minWindowHeight, g_minWindowWidth);
    SetWindowPos(window, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER);
}

void LayOutMainWindow(HWND window, LPARAM size) {
    int width = LOWORD(size);
    int height = HIWORD(size);
    RECT client;
    GetClientRect(window, &client);
    if (height == 0) {
        width = client.right;
        height = client.bottom;
    }
    const int statusBarHeight = Scaled(kStatusBarHeight);
    if (HWND statusBar = StatusBarHandle())
        MoveWindow(statusBar, 0, height - statusBarHeight, width, statusBarHeight, FALSE);

    if (g_programSettings.serviceMode) {
        int formRight = 0;
        for (int id : {IDC_GROUP_PROTOCOL, IDC_GROUP_TESTER, IDC_PICTURE}) {
            HWND child = GetDlgItem(window, id);
            if (!child) continue;
            RECT rect = ChildRect(window, child);
            if (rect.right > formRight) formRight = rect.right;
        }
        int left = ServiceViewLeft(formRight, Scaled(kServiceViewLeft), Scaled(4));
        if (g_serviceView)
            MoveWindow(g_serviceView, left, 0, client.right - left, client.bottom - statusBarHeight, FALSE);
    } else {
        auto stretch = [window, width](int id) {
            HWND field = GetDlgItem(window, id);
            if (!field) return;  // a WM_SIZE during creation comes before the controls
            RECT rect = ChildRect(window, field);
            SetWidth(field, StretchedFieldWidth(width, rect.left, Scaled(10)), rect.bottom - rect.top);
        };
        for (int id = kFirstFormField; id <= kLastFormField; ++id) stretch(id);
        stretch(IDC_VERDICT);  // a long conclusion wraps less in a wide window
        stretch(IDC_ARCHIVE_STATE);  // the cause of a series not archived shows whole
        for (int id : {IDC_GROUP_PROTOCOL, IDC_GROUP_TESTER}) {
            HWND box = GetDlgItem(window, id);
            if (!box) continue;
            RECT rect = ChildRect(window, box);
            SetWidth(box, width - Scaled(4), rect.bottom - rect.top);
        }
    }
    InvalidateRect(window, nullptr, TRUE);
}

void LimitMainWindowTracking(MINMAXINFO* info) {
    info->ptMinTrackSize.x = g_minWindowWidth;
    info->ptMinTrackSize.y = g_minWindowHeight;
    info->ptMaxTrackSize.x = GetSystemMetrics(SM_CXSCREEN);
    info->ptMaxTrackSize.y = GetSystemMetrics(SM_CYSCREEN);
}
