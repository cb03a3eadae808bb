// The window "Журнал протоколов": the register's lines newest first, the find as one types,
// the export to CSV and the line that says whether the register is whole.
#include "journal/win32/journal_window.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "common/win32/dialog_placement.h"
#include "common/win32/file_dialog.h"
#include "common/win32/list_columns.h"
#include "common/win32/locale_text.h"
#include "common/win32/replacing_file.h"
#include "journal/journal_file.h"
#include "journal/journal_view.h"
#include "journal/journal_window_ids.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"

namespace {

// Pixels of a 96 DPI screen; at the template's width every column is in
// sight, the details taking what is left.
constexpr int kColumnWidths[kJournalViewColumns] = {40, 118, 100, 126, 80, 36, 96, 110, 170};
constexpr int kLeastWidth = 640, kLeastHeight = 300;
constexpr int kFindSize = 256;

struct JournalWindow {
    HWND list = nullptr;
    std::vector<JournalViewRow> rows;
    std::vector<uint32_t> shown;  // indices into rows, as the list shows them
};

JournalWindow* StateOf(HWND window) { return reinterpret_cast<JournalWindow*>(GetWindowLongPtrW(window, DWLP_USER)); }

void Place(HWND window, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(window, id), nullptr, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The find row stays at the top, the export button at its right end, the
// verdict line at the bottom; the list takes the rest.
void Layout(HWND window) {
    RECT client, units{4, 4, 70, 14}, line{0, 0, 0, 10};
    GetClientRect(window, &client);
    MapDialogRect(window, &units);
    MapDialogRect(window, &line);
    const int mx = units.left, my = units.top, buttonWidth = units.right, rowHeight = units.bottom;
    const int width = client.right - 2 * mx;
    const int listTop = my + rowHeight + my, verdictTop = client.bottom - my - line.bottom;
    Place(window, IDC_JOURNAL_EXPORT, client.right - mx - buttonWidth, my, buttonWidth, rowHeight);
    Place(window, IDC_JOURNAL_LIST, mx, listTop, width, verdictTop - my / 2 - listTop);
    Place(window, IDC_JOURNAL_VERDICT, mx, verdictTop, width, line.bottom);
    // Under Wine controls moved into a newly enlarged part stayed unpainted.
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void AnswerCell(const JournalWindow* w, LPARAM lParam) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    const int row = info->item.iItem, column = info->item.iSubItem;
    const char* text = "";
    if (row >= 0 && static_cast<size_t>(row) < w->shown.size() && column >= 0 && column < kJournalViewColumns)
        text = w->rows[w->shown[row]].cells[column].c_str();
    if (MultiByteToWideChar(platform::kTextCodePage, 0, text, -1, info->item.pszText, info->item.cchTextMax) == 0)
        info->item.pszText[info->item.cchTextMax - 1] = 0;  // cut to the room given
}

void ApplyFind(HWND window, JournalWindow* w) {
    char text[kFindSize];
    platform::ItemTextInto(window, IDC_JOURNAL_FIND, text, sizeof text);
    JournalViewFind(w->rows, text, &w->shown);
    SendMessageW(w->list, LVM_SETITEMCOUNT, w->shown.size(), 0);
    InvalidateRect(w->list, nullptr, TRUE);
}

void SelectRow(HWND list, int row) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

// Reads the register once; a broken one has its first failing line selected.
void ReadRegister(HWND window, JournalWindow* w) {
    JournalCheck check;
    JournalFile file;
    if (!JournalCheckDataFolder(&check, &file)) {
        platform::SetItemText1251(window, IDC_JOURNAL_VERDICT, "Журнала нет: в папке данных не найден journal.csv");
        return;
    }
    w->rows = JournalViewRows(file);
    platform::SetItemText1251(window, IDC_JOURNAL_VERDICT, JournalVerdictText(check).c_str());
    ApplyFind(window, w);
    if (check.badLine > 0 && check.badLine <= w->rows.size())
        SelectRow(w->list, static_cast<int>(w->rows.size() - check.badLine));
}

bool AskCsvPath(HWND owner, std::wstring* path) {
    wchar_t fileName[MAX_PATH] = L"Журнал протоколов.csv";
    const FileDialogRequest request{owner, L"Файл CSV (*.csv)\0*.csv\0", fileName, L"csv", nullptr,
                                    OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST};
    if (!AskFileToSave(request)) return false;
    *path = fileName;
    return true;
}

// Moved over the chosen name only when whole, as the archive's export.
bool WriteFileWhole(const std::wstring& path, const std::string& bytes) {
    ReplacingFile file(path);
    return file.Write(bytes) && file.Commit();
}

void Export(HWND window, const JournalWindow* w) {
    std::wstring path;
    if (!AskCsvPath(window, &path)) return;
    const std::string separator = LocaleText(LOCALE_SLIST, ";");
    if (!WriteFileWhole(path, JournalViewCsv(w->rows, w->shown, separator.c_str())))
        platform::MessageBox1251(window, "Ошибка сохранения файла.", "Ошибка!", MB_OK | MB_ICONERROR);
}

BOOL Open(HWND window, JournalWindow* w) {
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(w));
    w->list = GetDlgItem(window, IDC_JOURNAL_LIST);
    // The main window's icon, without reaching up into the shell for its id.
    if (HWND owner = GetWindow(window, GW_OWNER))
        SendMessageW(window, WM_SETICON, ICON_BIG, SendMessageW(owner, WM_GETICON, ICON_BIG, 0));
    ListColumn columns[kJournalViewColumns];
    for (int c = 0; c < kJournalViewColumns; ++c) columns[c] = {kJournalViewHeaders[c], kColumnWidths[c]};
    SendMessageW(w->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertListColumns(w->list, columns, kJournalViewColumns);
    SendDlgItemMessageW(window, IDC_JOURNAL_FIND, EM_LIMITTEXT, kFindSize - 1, 0);
    CentreDialogOnOwner(window);
    Layout(window);
    ReadRegister(window, w);
    SetFocus(GetDlgItem(window, IDC_JOURNAL_FIND));
    return FALSE;  // the focus is set
}

INT_PTR CALLBACK JournalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return Open(window, reinterpret_cast<JournalWindow*>(lParam));
    JournalWindow* w = StateOf(window);
    if (!w) return FALSE;
    switch (message) {
        case WM_SIZE: Layout(window); return TRUE;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {platform::Scaled(kLeastWidth), platform::Scaled(kLeastHeight)};
            return TRUE;
        }
        case WM_NOTIFY: {
            const auto* note = reinterpret_cast<NMHDR*>(lParam);
            if (note->idFrom == IDC_JOURNAL_LIST && note->code == LVN_GETDISPINFOW) AnswerCell(w, lParam);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_JOURNAL_FIND && HIWORD(wParam) == EN_CHANGE) ApplyFind(window, w);
            else if (LOWORD(wParam) == IDC_JOURNAL_EXPORT) Export(window, w);
            else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(window, 0);
            return TRUE;
        case WM_CLOSE: EndDialog(window, 0); return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowJournalWindow(HWND owner) {
    JournalWindow state;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_JOURNAL), owner, JournalProc,
                    reinterpret_cast<LPARAM>(&state));
}
