// The dialog "Изменение протокола": the changed texts, old → new, the required reason and the person's name.
#include "journal/win32/amendment_dialog.h"

#include <string>
#include <vector>

#include "common/win32/dialog_placement.h"
#include "journal/amendment_dialog_ids.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_registry.h"

namespace {

// The register keeps whole lines; a reason or a name longer than a protocol
// text is more than anyone reads in the viewer's pane.
constexpr int kNoteLimit = kProtocolTextSize - 1;

// The name given last in this run, proposed next time; user-interface thread only.
std::string& LastPerson() {
    static std::string person;
    return person;
}

struct Asking {
    const TestRecord* stored;
    const TestRecord* amended;
    AmendmentAnswer* note;
};

// The portable lines joined for a multi-line edit, their "->" shown as the arrow 1251 lacks.
std::wstring ChangesText(const std::vector<std::string>& lines) {
    const std::wstring arrow = platform::Wide(kAmendmentArrow);
    std::wstring text;
    for (const std::string& line : lines) {
        std::wstring wide = platform::Wide(line);
        const size_t at = wide.find(arrow);
        if (at != std::wstring::npos) wide.replace(at, arrow.size(), L" \u2192 ");
        text += (text.empty() ? L"" : L"\r\n") + wide;
    }
    return text;
}

void Open(HWND dialog, const Asking* asking) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(asking));
    CentreDialogOnOwner(dialog);
    SetDlgItemTextW(dialog, IDC_AMENDMENT_CHANGES,
                    ChangesText(AmendmentChangeLines(*asking->stored, *asking->amended)).c_str());
    SendDlgItemMessageW(dialog, IDC_AMENDMENT_REASON, EM_LIMITTEXT, kNoteLimit, 0);
    SendDlgItemMessageW(dialog, IDC_AMENDMENT_PERSON, EM_LIMITTEXT, kNoteLimit, 0);
    platform::SetItemText1251(dialog, IDC_AMENDMENT_PERSON, LastPerson().c_str());
    SetFocus(GetDlgItem(dialog, IDC_AMENDMENT_REASON));
}

std::string Typed(HWND dialog, int id) {
    return platform::WindowText1251(GetDlgItem(dialog, id));
}

// OK stays greyed while the reason is empty or blanks only.
void ShowOkState(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDOK), AmendmentReasonGiven(Typed(dialog, IDC_AMENDMENT_REASON)));
}

void Take(HWND dialog) {
    const std::string reason = AmendmentTrimmed(Typed(dialog, IDC_AMENDMENT_REASON));
    if (reason.empty()) return;  // Enter in the reason field while OK is greyed
    auto* asking = reinterpret_cast<const Asking*>(GetWindowLongPtrW(dialog, DWLP_USER));
    asking->note->reason = reason;
    asking->note->person = AmendmentTrimmed(Typed(dialog, IDC_AMENDMENT_PERSON));
    LastPerson() = asking->note->person;
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK AmendmentProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: Open(dialog, reinterpret_cast<const Asking*>(lParam)); return FALSE;  // focus set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_AMENDMENT_REASON && HIWORD(wParam) == EN_CHANGE) ShowOkState(dialog);
            else if (LOWORD(wParam) == IDOK) Take(dialog);
            else if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

bool AskAmendmentAnswer(HWND owner, const TestRecord& stored, const TestRecord& amended, AmendmentAnswer* note) {
    const Asking asking{&stored, &amended, note};
    return DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_AMENDMENT), owner, AmendmentProc,
                           reinterpret_cast<LPARAM>(&asking)) == IDOK;
}

void RegisterAmendment(HWND owner, const TestRecord& appended, const AmendmentAnswer& note) {
    switch (JournalAmendment(appended, note)) {
        case JournalAppendOutcome::Started:
            platform::MessageBox1251(owner, kJournalStartedText, kJournalCaption, MB_OK | MB_ICONINFORMATION);
            break;
        case JournalAppendOutcome::Failed:
            platform::MessageBox1251(owner, "Изменение записано в архив, но журнал протоколов записать не удалось.",
                                     "Внимание!", MB_OK | MB_ICONWARNING);
            break;
        default: break;
    }
}
