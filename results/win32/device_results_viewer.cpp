// The viewer of results stored in the instrument: a list the link worker
// fills at the end of a transfer, with a progress bar over it until then,
// and "В архив", which takes the rows chosen into the archive.
#include "results/win32/device_results_viewer.h"

#include <commctrl.h>

#include <vector>

#include "results/shell_ids.h"
#include "common/win32/list_columns.h"
#include "platform/win32/window_registry.h"
#include "results/device_results_ids.h"
#include "results/device_results_layout.h"
#include "results/stored_results.h"
#include "results/viewer_shell.h"
#include "platform/win32/wide.h"

namespace {

constexpr ListColumn kColumns[] = {
    {"Дата", 65},
    {"Время", 65},
    {"Результаты испытания", 300},
    {"Среднее напряжение", 70},
    {"Ср.квадр. ошибка", 70},
    {"Коэффициент вариации", 70},
    {"В архиве", 62},
};

std::vector<int> SelectedRows(HWND viewer) {
    std::vector<int> rows;
    HWND list = GetDlgItem(viewer, IDC_DEVICE_RESULTS_LIST);
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0) return rows;
        rows.push_back(row);
    }
}

// Nothing is taken while the transfer still fills the table the rows stand for.
void UpdateImportButton(HWND viewer) {
    HWND list = GetDlgItem(viewer, IDC_DEVICE_RESULTS_LIST);
    const bool chosen = SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    EnableWindow(GetDlgItem(viewer, IDC_DEVICE_RESULTS_IMPORT), 
                 chosen && !InstalledViewerShell().storedResultsTransferring());
}

void Import(HWND viewer) {
    UpdateImportButton(viewer);
    if (!IsWindowEnabled(GetDlgItem(viewer, IDC_DEVICE_RESULTS_IMPORT))) return;
    const std::vector<int> rows = SelectedRows(viewer);
    char summary[256];
    ImportStoredRows(rows.data(), rows.size(), summary, sizeof summary);
    UpdateImportButton(viewer);
    if (summary[0]) platform::MessageBox1251(viewer, summary, "В архив", MB_OK | MB_ICONINFORMATION);
}

void Layout(HWND viewer) {
    RECT client;
    GetClientRect(viewer, &client);
    if (HWND list = GetDlgItem(viewer, IDC_DEVICE_RESULTS_LIST)) {
        RECT at;
        GetWindowRect(list, &at);
        MapWindowPoints(nullptr, viewer, reinterpret_cast<POINT*>(&at), 2);
        ViewerBox box = DeviceResultsListBox(client.left, client.top, client.right, client.bottom, at.left, at.top);
        SetWindowPos(list, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The link worker closes the bar when the transfer ends.
    if (HWND bar = GetDlgItem(viewer, IDC_DEVICE_RESULTS_PROGRESS)) {
        RECT own;
        GetWindowRect(bar, &own);
        ViewerBox box =
            DeviceResultsProgressBox(client.left, client.top, client.right, client.bottom, own.bottom - own.top);
        // In front of the list it lies on.
        SetWindowPos(bar, HWND_TOP, box.x, box.y, box.width, box.height, SWP_NOACTIVATE);
    }
}

BOOL Init(HWND viewer) {
    RegisterWindow(ui::Window::DeviceResults, viewer);
    SendMessageW(viewer, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN))));
    HWND list = GetDlgItem(viewer, IDC_DEVICE_RESULTS_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    Layout(viewer);
    InsertListColumns(list, kColumns, static_cast<int>(sizeof kColumns / sizeof kColumns[0]));
    return TRUE;
}

// Modeless, so DestroyWindow rather than EndDialog, which would only hide
// it and leave the worker a live window to fill.
void Close(HWND viewer) { DestroyWindow(viewer); }

// Also when the main window goes and takes its owned windows with it.
// Clearing the request is what stops a transfer still running.
void Destroyed(HWND viewer) {
    // A newer viewer may have taken the slot already.
    if (WindowHandle(ui::Window::DeviceResults) != viewer) return;
    InstalledViewerShell().stopStoredResultsTransfer();
    RegisterWindow(ui::Window::DeviceResults, nullptr);
}

INT_PTR CALLBACK ViewerProc(HWND viewer, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return Init(viewer);
        case WM_SIZE: Layout(viewer); return TRUE;
        case WM_CLOSE: Close(viewer); return TRUE;
        case WM_COMMAND:
            // Esc reaches a dialog as IDCANCEL only through IsDialogMessage,
            // which the main loop does not call; the list's key notice below
            // covers that case.
            if (LOWORD(wParam) == IDCANCEL) {
                Close(viewer);
                return TRUE;
            }
            if (LOWORD(wParam) == IDC_DEVICE_RESULTS_IMPORT) {
                Import(viewer);
                return TRUE;
            }
            return FALSE;
        case WM_NOTIFY: {
            const auto* note = reinterpret_cast<const NMHDR*>(lParam);
            if (note->idFrom == IDC_DEVICE_RESULTS_LIST && note->code == LVN_ITEMCHANGED) UpdateImportButton(viewer);
            const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
            if (key->hdr.idFrom == IDC_DEVICE_RESULTS_LIST && key->hdr.code == LVN_KEYDOWN &&
                key->wVKey == VK_ESCAPE) {
                PostMessageW(viewer, WM_CLOSE, 0, 0);
                return TRUE;
            }
            return FALSE;
        }
        case WM_DESTROY: Destroyed(viewer); return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void ShowDeviceResultsWindow(HWND owner) {
    // One viewer at a time: a second opening starts a fresh fetch, so the
    // earlier window, whose list that fetch would fill twice, goes.
    if (HWND earlier = WindowHandle(ui::Window::DeviceResults)) {
        if (IsWindow(earlier)) DestroyWindow(earlier);
        RegisterWindow(ui::Window::DeviceResults, nullptr);
    }
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DEVICE_RESULTS), owner, ViewerProc, 0);
}
