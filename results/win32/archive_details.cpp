#include <cstdio>

#include "app/format.h"
#include "app/win32/clipboard_aware.h"
#include "results/archive_rows.h"
#include "results/win32/archive_session.h"

namespace {

constexpr int kFirstTextEdit = 140;
constexpr int kLastTextEdit = 152;

void SetNumber(HWND pane, int id, float value, int decimals, const char* unit) {
    char text[256];
    FormatFixed(text, value, decimals, unit);
    SetDlgItemTextA(pane, id, text);
}

void StretchTextEdits(HWND pane) {
    RECT client;
    GetClientRect(pane, &client);
    for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) {
        HWND edit = GetDlgItem(pane, id);
        RECT r;
        GetWindowRect(edit, &r);
        MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&r), 2);
        int width = client.right - r.left - 10;
        SetWindowPos(edit, nullptr, 0, 0, width > 0 ? width : 0, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

void ShowArchiveDetails(HWND pane, const TestRecord& r) {
    char text[kProtocolTextSize];
    for (int k = 0; k < kProtocolTextCount; ++k) {
        // A text read from the file may lack its terminator.
        lstrcpynA(text, r.protocolText[k], sizeof text);
        SetDlgItemTextA(pane, kFirstTextEdit + k, text);
    }
    const DeviceSettings& s = r.settingsSnapshot;
    std::snprintf(text, sizeof text, "%d", MeasurementCount(s));
    SetDlgItemTextA(pane, 133, text);
    SetNumber(pane, 134, static_cast<float>(PauseMinutes(s)), 0, "мин.");
    SetDlgItemTextA(pane, 135, PreTestDelay(s) ? "есть" : "нет");
    SetNumber(pane, 136, s.riseRate / 10.0f, s.riseRate <= 9 ? 1 : 0, "кВ/с");
    SetNumber(pane, 137, s.maxVoltage / 10.0f, 0, "кВ");
    ArchiveVoltageList(r, text, sizeof text);
    SetDlgItemTextA(pane, 722, text);
    ArchiveMeanText(text, sizeof text, r);
    SetDlgItemTextA(pane, 723, text);
    SetNumber(pane, 724, r.rmsError / 10.0f, 1, "кВ");
    SetNumber(pane, 725, static_cast<float>(r.variationPercent), 0, "%");
}

INT_PTR CALLBACK ArchiveDetailsProc(HWND pane, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            for (int id = 722; id <= 725; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            for (int id = 133; id <= 137; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            return TRUE;
        case WM_SIZE:
            StretchTextEdits(pane);
            return TRUE;
    }
    return FALSE;
}
