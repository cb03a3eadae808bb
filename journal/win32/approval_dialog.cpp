// The dialog "Утверждение протокола": the series, version and conclusion approved, and who approves it.
#include "journal/win32/approval_dialog.h"

#include <windows.h>

#include <string>

#include "common/win32/dialog_placement.h"
#include "journal/approval_dialog_ids.h"
#include "journal/approval_texts.h"
#include "journal/journal_file.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_registry.h"
#include "results/archive_versions.h"

namespace {

// The settings keep 255 characters of each.
constexpr int kApproverSize = 256;

struct ApprovalRequest {
    const TestRecord* version;
    const char* name;
    const char* position;
};

void ShowRequest(HWND dialog, const ApprovalRequest& r) {
    platform::SetItemText1251(dialog, IDC_APPROVAL_SERIES, ApprovalSeriesText(*r.version).c_str());
    platform::SetItemText1251(dialog, IDC_APPROVAL_VERSION, VersionLabel(*r.version).c_str());
    platform::SetItemText1251(dialog, IDC_APPROVAL_CONCLUSION, ApprovalConclusionText(*r.version).c_str());
    SendDlgItemMessageW(dialog, IDC_APPROVAL_POSITION, EM_LIMITTEXT, kApproverSize - 1, 0);
    SendDlgItemMessageW(dialog, IDC_APPROVAL_NAME, EM_LIMITTEXT, kApproverSize - 1, 0);
    platform::SetItemText1251(dialog, IDC_APPROVAL_POSITION, r.position);
    platform::SetItemText1251(dialog, IDC_APPROVAL_NAME, r.name);
}

std::string FieldText(HWND dialog, int id) {
    char text[kApproverSize];
    platform::ItemTextInto(dialog, id, text, sizeof text);
    return ApprovalFieldText(text);
}

// OK: the dialog stays open while the name is missing or the register
// refuses the line, so the user may try again or cancel.
void Approve(HWND dialog, const ApprovalRequest& r) {
    const std::string name = FieldText(dialog, IDC_APPROVAL_NAME);
    if (name.empty()) {
        platform::MessageBox1251(dialog, "Укажите ФИО утверждающего.", "Внимание!", MB_OK | MB_ICONWARNING);
        SetFocus(GetDlgItem(dialog, IDC_APPROVAL_NAME));
        return;
    }
    const JournalEntry entry = JournalApprovalEntry(*r.version, name, FieldText(dialog, IDC_APPROVAL_POSITION));
    switch (JournalAppend(entry)) {
        case JournalAppendOutcome::Failed:
            platform::MessageBox1251(dialog, "Не удалось записать журнал протоколов: протокол не утвержден.",
                                     "Ошибка!", MB_OK | MB_ICONERROR);
            return;
        case JournalAppendOutcome::Started:
            platform::MessageBox1251(dialog, kJournalStartedText, kJournalCaption, MB_OK | MB_ICONINFORMATION);
            break;
        case JournalAppendOutcome::Appended: break;
    }
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ApprovalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            ShowRequest(dialog, *reinterpret_cast<const ApprovalRequest*>(lParam));
            CentreDialogOnOwner(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                Approve(dialog, *reinterpret_cast<const ApprovalRequest*>(GetWindowLongPtrW(dialog, DWLP_USER)));
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

bool AskApproval(const TestRecord& version, const char* proposedName, const char* proposedPosition) {
    const ApprovalRequest request{&version, proposedName, proposedPosition};
    return DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_APPROVAL), DialogOwner(ui::Window::ArchiveViewer),
                           ApprovalProc, reinterpret_cast<LPARAM>(&request)) == IDOK;
}
