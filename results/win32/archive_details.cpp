// The archive viewer's details pane: every field of the series selected in the list.
#include "app/format.h"
#include "app/resource_ids.h"
#include "app/win32/clipboard_aware.h"
#include "link/window_ops.h"
#include "results/archive_rows.h"
#include "results/archive_viewer_ids.h"
#include "results/win32/archive_session.h"

namespace {

// The pane shows a record with the main window's field and parameter ids.
constexpr int kFirstTextEdit = IDC_FIRST_FIELD;
constexpr int kLastTextEdit = IDC_LAST_FIELD;

void SetNumber(HWND pane, int id, float value, int decimals, const char* unit) {
    char text[256];
    FormatFixed(text, value, decimals, unit);
    SetDlgItemTextA(pane, id, text);
}

void StretchToRightEdge(HWND pane, int id, const RECT& client) {
    HWND edit = GetDlgItem(pane, id);
    RECT r;
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&r), 2);
    int width = client.right - r.left - 10;
    SetWindowPos(edit, nullptr, 0, 0, width > 0 ? width : 0, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StretchTextEdits(HWND pane) {
    RECT client;
    GetClientRect(pane, &client);
    for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) StretchToRightEdge(pane, id, client);
    StretchToRightEdge(pane, IDC_DETAILS_CONCLUSION, client);
}

}  // namespace

void ShowArchiveDetails(HWND pane, const TestRecord& r) {
    char text[kProtocolTextSize];
    for (int k = 0; k < kProtocolTextCount; ++k) {
        // A text read from the file may lack its terminator.
        lstrcpynA(text, r.protocolText[k], sizeof text);
        SetDlgItemTextA(pane, kFirstTextEdit + k, text);
    }
    ShowTestParametersIn(ui::Window::ArchiveDetails, r.settingsSnapshot);
    ArchiveVoltageList(r, text, sizeof text);
    SetDlgItemTextA(pane, IDC_DETAILS_VOLTAGES, text);
    FormatMeasurementValue(text, r, 7);  // the bound voltage when the mean did not break down
    SetDlgItemTextA(pane, IDC_DETAILS_MEAN, text);
    SetNumber(pane, IDC_DETAILS_RMS_ERROR, r.rmsError / 10.0f, 1, "кВ");
    SetNumber(pane, IDC_DETAILS_VARIATION, static_cast<float>(r.variationPercent), 0, "%");
    SetDlgItemTextA(pane, IDC_DETAILS_CONCLUSION, ArchiveConclusionLine(r).c_str());
}

void ClearArchiveDetails(HWND pane) {
    for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) SetDlgItemTextA(pane, id, "");
    for (int id = IDC_DETAILS_VOLTAGES; id <= IDC_DETAILS_VARIATION; ++id) SetDlgItemTextA(pane, id, "");
    for (int id = IDC_VALUE_COUNT; id <= IDC_VALUE_MAXIMUM; ++id) SetDlgItemTextA(pane, id, "");
    SetDlgItemTextA(pane, IDC_DETAILS_CONCLUSION, "");
}

INT_PTR CALLBACK ArchiveDetailsProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            for (int id = IDC_DETAILS_VOLTAGES; id <= IDC_DETAILS_VARIATION; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            for (int id = IDC_VALUE_COUNT; id <= IDC_VALUE_MAXIMUM; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            MakeClipboardAware(GetDlgItem(pane, IDC_DETAILS_CONCLUSION));
            return TRUE;
        case WM_SIZE:
            StretchTextEdits(pane);
            return TRUE;
        case WM_COMMAND:
            // The pane's buttons act on the viewer's rows.
            if (LOWORD(wParam) == IDC_ARCHIVE_TREND || LOWORD(wParam) == IDC_ARCHIVE_EXPORT) {
                SendMessageA(GetParent(pane), WM_COMMAND, wParam, lParam);
                return TRUE;
            }
            break;
    }
    return FALSE;
}
