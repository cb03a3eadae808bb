// The archive viewer's details pane: every field of the series selected in the list.
#include <vector>

#include "common/format.h"
#include "results/test_parameter_ids.h"
#include "results/shell_ids.h"
#include "common/win32/clipboard_aware.h"
#include "results/parameter_fields.h"
#include "platform/win32/dpi.h"
#include "results/amendment_rules.h"
#include "results/archive_rows.h"
#include "results/archive_viewer_ids.h"
#include "results/test_parameters.h"
#include "results/viewer_shell.h"
#include "results/win32/archive_session.h"
#include "platform/win32/wide.h"

namespace {

// The pane shows a record with the main window's field and parameter ids.
constexpr int kFirstTextEdit = IDC_FIRST_FIELD;
constexpr int kLastTextEdit = IDC_LAST_FIELD;

void SetNumber(HWND pane, int id, float value, int decimals, const char* unit) {
    char text[256];
    FormatFixed(text, value, decimals, unit);
    platform::SetItemText1251(pane, id, text);
}

void StretchToRightEdge(HWND pane, int id, const RECT& client) {
    HWND edit = GetDlgItem(pane, id);
    RECT r;
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&r), 2);
    int width = client.right - r.left - platform::Scaled(10);
    SetWindowPos(edit, nullptr, 0, 0, width > 0 ? width : 0, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StretchTextEdits(HWND pane) {
    RECT client;
    GetClientRect(pane, &client);
    for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) StretchToRightEdge(pane, id, client);
    StretchToRightEdge(pane, IDC_DETAILS_CONCLUSION, client);
    StretchToRightEdge(pane, IDC_DETAILS_APPROVAL, client);
    StretchToRightEdge(pane, IDC_DETAILS_AMENDED, client);
}

}  // namespace

namespace {

// "Версия": every version of the series, oldest first, the shown one chosen.
void ListVersions(HWND pane, const ArchiveSession& s, uint32_t version) {
    HWND box = GetDlgItem(pane, IDC_DETAILS_VERSION);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    const std::vector<uint32_t> versions = s.versions.Versions(s.versions.FirstOf(version));
    for (size_t k = 0; k < versions.size(); ++k) {
        platform::SendText1251(box, CB_ADDSTRING, 0, VersionLabel(s.records[versions[k]]).c_str());
        if (versions[k] == version) SendMessageW(box, CB_SETCURSEL, k, 0);
    }
}

// Who approved the version, and "Утвердить" for one of log.dat not yet approved.
void ShowApproval(HWND pane, const ArchiveSession& s, const TestRecord& r) {
    VersionApproval approval;
    const bool approved = s.approvals && s.approvals(r.testTime, r.marks.amendment, &approval);
    platform::SetItemText1251(pane, IDC_DETAILS_APPROVAL, approved ? ArchiveApproverLine(approval).c_str() : "");
    EnableWindow(GetDlgItem(pane, IDC_ARCHIVE_APPROVE), !approved && AmendmentArchive(s.path) != nullptr);
}

}  // namespace

void ShowArchiveDetails(HWND pane, const ArchiveSession& s, uint32_t version) {
    const TestRecord& r = s.records[version];
    // Earlier versions are what was printed then; only the newest is mended,
    // and only in log.dat: another archive file is only viewed.
    const bool newest = s.versions.Newest(s.versions.FirstOf(version)) == version;
    const BOOL readOnly = ArchiveTextsEditable(s.path, newest) ? FALSE : TRUE;
    char text[kProtocolTextSize];
    for (int k = 0; k < kProtocolTextCount; ++k) {
        // A text read from the file may lack its terminator.
        lstrcpynA(text, r.protocolText[k], sizeof text);
        platform::SetItemText1251(pane, kFirstTextEdit + k, text);
        SendDlgItemMessageW(pane, kFirstTextEdit + k, EM_SETREADONLY, readOnly, 0);
    }
    ListVersions(pane, s, version);
    platform::SetItemText1251(pane, IDC_DETAILS_AMENDED, InstalledViewerShell().amendmentLine(r).c_str());
    TestParameterTexts parameters;
    FormatRecordParameters(r, &parameters);
    ShowParameterTextsIn(ui::Window::ArchiveDetails, parameters);
    ArchiveVoltageList(r, text, sizeof text);
    platform::SetItemText1251(pane, IDC_DETAILS_VOLTAGES, text);
    FormatMeasurementValue(text, r, 7);  // the bound voltage when the mean did not break down
    platform::SetItemText1251(pane, IDC_DETAILS_MEAN, text);
    SetNumber(pane, IDC_DETAILS_RMS_ERROR, r.rmsError / 10.0f, 1, "кВ");
    SetNumber(pane, IDC_DETAILS_VARIATION, static_cast<float>(r.variationPercent), 0, "%");
    platform::SetItemText1251(pane, IDC_DETAILS_CONCLUSION, ArchiveConclusionLine(r).c_str());
    ShowApproval(pane, s, r);
}

void DetailsRecord(HWND pane, const ArchiveSession& s, TestRecord* out) {
    *out = s.records[s.shown];
    for (int k = 0; k < kProtocolTextCount; ++k)
        platform::ItemTextInto(pane, kFirstTextEdit + k, out->protocolText[k], kProtocolTextSize);
}

void ClearArchiveDetails(HWND pane) {
    for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) platform::SetItemText1251(pane, id, "");
    for (int id = IDC_DETAILS_VOLTAGES; id <= IDC_DETAILS_VARIATION; ++id) platform::SetItemText1251(pane, id, "");
    for (int id = IDC_VALUE_COUNT; id <= IDC_VALUE_MAXIMUM; ++id) platform::SetItemText1251(pane, id, "");
    platform::SetItemText1251(pane, IDC_DETAILS_CONCLUSION, "");
    platform::SetItemText1251(pane, IDC_DETAILS_APPROVAL, "");
    EnableWindow(GetDlgItem(pane, IDC_ARCHIVE_APPROVE), FALSE);
    platform::SetItemText1251(pane, IDC_DETAILS_AMENDED, "");
    SendDlgItemMessageW(pane, IDC_DETAILS_VERSION, CB_RESETCONTENT, 0, 0);
}

INT_PTR CALLBACK ArchiveDetailsProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            for (int id = kFirstTextEdit; id <= kLastTextEdit; ++id) {
                MakeClipboardAware(GetDlgItem(pane, id));
                SendDlgItemMessageW(pane, id, EM_LIMITTEXT, kProtocolTextSize - 1, 0);
            }
            for (int id = IDC_DETAILS_VOLTAGES; id <= IDC_DETAILS_VARIATION; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            for (int id = IDC_VALUE_COUNT; id <= IDC_VALUE_MAXIMUM; ++id) MakeClipboardAware(GetDlgItem(pane, id));
            MakeClipboardAware(GetDlgItem(pane, IDC_DETAILS_CONCLUSION));
            MakeClipboardAware(GetDlgItem(pane, IDC_DETAILS_APPROVAL));
            MakeClipboardAware(GetDlgItem(pane, IDC_DETAILS_AMENDED));
            return TRUE;
        case WM_SIZE:
            StretchTextEdits(pane);
            return TRUE;
        case WM_COMMAND:
            // The pane's buttons act on the viewer's rows.
            if (LOWORD(wParam) == IDC_ARCHIVE_TREND || LOWORD(wParam) == IDC_ARCHIVE_EXPORT ||
                LOWORD(wParam) == IDC_ARCHIVE_APPROVE ||
                (LOWORD(wParam) == IDC_DETAILS_VERSION && HIWORD(wParam) == CBN_SELCHANGE)) {
                SendMessageW(GetParent(pane), WM_COMMAND, wParam, lParam);
                return TRUE;
            }
            break;
    }
    return FALSE;
}
