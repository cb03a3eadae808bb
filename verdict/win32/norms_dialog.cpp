// The "Нормы испытаний" dialog: shows the book's lists and fields, replays
// the portable edits and writes norms.ini on ОК.
#include "verdict/win32/norms_dialog.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "verdict/norm_book.h"
#include "verdict/norms_dialog_ids.h"
#include "verdict/norms_editing.h"
#include "verdict/series_verdict.h"
#include "common/win32/dialog_placement.h"
#include "common/win32/list_columns.h"
#include "platform/text_fit.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_registry.h"

namespace {

// The copy the dialog changes; g_normBook stays as it was until ОК wrote it.
// Renames of own methods, in order, for the main window to follow.
struct Editing {
    NormBook book;
    bool saved;
    std::vector<std::pair<std::string, std::string>> renames;
};

// Pixels; each list's columns fill it under Wine's dialog font, so the
// example book's names show whole with no sideways scroll bar taking a
// row's place. A longer name widens its column (FitColumns).
constexpr ListColumn kNormColumns[] = {{"Норма", 400}, {"Методика", 150}, {"Минимум, кВ", 86}, {"Хорошо, кВ", 76}};
constexpr ListColumn kMethodColumns[] = {{"Методика", 190}, {"Пробоев", 58}, {"Скорость", 62},
                                         {"Пауза", 44},     {"Задержка", 62}, {"Разброс", 194}};
constexpr int kKilovoltsLimit = 6;
constexpr int kPercentLimit = 3;
constexpr int kTextSize = 256;

Editing* StateOf(HWND dialog) { return reinterpret_cast<Editing*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

std::string Text(HWND dialog, int id) {
    char text[kTextSize] = {0};
    platform::ItemTextInto(dialog, id, text, sizeof text);
    return text;
}

int ComboIndex(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

void SelectCombo(HWND dialog, int id, int index) { SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0); }

void FillCombo(HWND dialog, int id, const FieldChoices& choices) {
    for (int i = 0; i < choices.count; ++i)
        platform::SendText1251(GetDlgItem(dialog, id), CB_ADDSTRING, 0, choices.items[i]);
}

int SelectedRow(HWND dialog, int listId) {
    return static_cast<int>(SendDlgItemMessageW(dialog, listId, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectRow(HWND list, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

// Each column at least as wide as its longest text, so names that differ
// only at their ends ("зазор 1 мм", "зазор 2 мм") are told apart.
void FitColumns(HWND list, const ListColumn* columns, int count, const std::vector<std::vector<std::string>>& rows) {
    constexpr int kCellMargins = 16;  // the list's inner margins on either side of a text
    for (int c = 0; c < count; ++c) {
        std::vector<int> widths;
        for (const std::vector<std::string>& row : rows) {
            if (c >= static_cast<int>(row.size())) continue;
            std::wstring text = platform::Wide(row[c]);
            widths.push_back(static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()))));
        }
        const int width = platform::WidthForWholeTexts(widths, platform::Scaled(columns[c].width),
                                                       platform::Scaled(kCellMargins), 0);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, c, width);
    }
}

// Refills a list; selecting row then fills the fields through the list's notice.
void FillRows(HWND dialog, int listId, const std::vector<std::vector<std::string>>& rows, int select) {
    HWND list = GetDlgItem(dialog, listId);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            std::wstring text = platform::Wide(rows[r][c]);
            item.pszText = &text[0];
            SendMessageW(list, c ? LVM_SETITEMTEXTW : LVM_INSERTITEMW, r, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (listId == IDC_NORMS_LIST)
        FitColumns(list, kNormColumns, sizeof kNormColumns / sizeof kNormColumns[0], rows);
    else
        FitColumns(list, kMethodColumns, sizeof kMethodColumns / sizeof kMethodColumns[0], rows);
    if (select >= 0 && select < static_cast<int>(rows.size())) SelectRow(list, select);
}

// ---- norms

void FillNormMethods(HWND dialog, const NormBook& book) {
    const std::string chosen = Text(dialog, IDC_NORM_METHOD);
    SendDlgItemMessageW(dialog, IDC_NORM_METHOD, CB_RESETCONTENT, 0, 0);
    const std::vector<TestMethod> all = AllMethods(book);
    for (size_t i = 0; i < all.size(); ++i) {
        platform::SendText1251(GetDlgItem(dialog, IDC_NORM_METHOD), CB_ADDSTRING, 0, all[i].name.c_str());
        if (all[i].name == chosen) SelectCombo(dialog, IDC_NORM_METHOD, static_cast<int>(i));
    }
}

void ShowNorms(HWND dialog, int select) {
    std::vector<std::vector<std::string>> rows;
    for (const Norm& n : StateOf(dialog)->book.norms) rows.push_back(NormRowTexts(n));
    FillRows(dialog, IDC_NORMS_LIST, rows, select);
}

void ShowNormFields(HWND dialog, const NormFields& f) {
    platform::SetItemText1251(dialog, IDC_NORM_NAME, f.name.c_str());
    platform::SetItemText1251(dialog, IDC_NORM_MINIMUM, f.minimum.c_str());
    platform::SetItemText1251(dialog, IDC_NORM_GOOD, f.good.c_str());
    // A norm whose method is gone shows no method until one is chosen.
    const std::vector<TestMethod> all = AllMethods(StateOf(dialog)->book);
    int index = -1;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].name == f.method) index = static_cast<int>(i);
    SelectCombo(dialog, IDC_NORM_METHOD, index);
}

NormFields TypedNorm(HWND dialog) {
    const std::vector<TestMethod> all = AllMethods(StateOf(dialog)->book);
    const int method = ComboIndex(dialog, IDC_NORM_METHOD);
    return {Text(dialog, IDC_NORM_NAME), method >= 0 && method < static_cast<int>(all.size()) ? all[method].name : "",
            Text(dialog, IDC_NORM_MINIMUM), Text(dialog, IDC_NORM_GOOD)};
}

// ---- own methods

void ShowMethods(HWND dialog, int select) {
    std::vector<std::vector<std::string>> rows;
    for (const TestMethod& m : StateOf(dialog)->book.ownMethods) rows.push_back(MethodRowTexts(m));
    FillRows(dialog, IDC_METHODS_LIST, rows, select);
}

void ShowPercentState(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDC_METHOD_PERCENT), ComboIndex(dialog, IDC_METHOD_DISPERSION) > kDispersionNone);
}

void ShowMethodFields(HWND dialog, const MethodFields& f) {
    platform::SetItemText1251(dialog, IDC_METHOD_NAME, f.name.c_str());
    SelectCombo(dialog, IDC_METHOD_BREAKDOWNS, f.breakdowns);
    SelectCombo(dialog, IDC_METHOD_RATE, f.riseRate);
    SelectCombo(dialog, IDC_METHOD_PAUSE, f.pause);
    SelectCombo(dialog, IDC_METHOD_DELAY, f.delay);
    SelectCombo(dialog, IDC_METHOD_DISPERSION, f.dispersion);
    platform::SetItemText1251(dialog, IDC_METHOD_PERCENT, f.percent.c_str());
    ShowPercentState(dialog);
}

MethodFields TypedMethod(HWND dialog) {
    return {Text(dialog, IDC_METHOD_NAME),         ComboIndex(dialog, IDC_METHOD_BREAKDOWNS),
            ComboIndex(dialog, IDC_METHOD_RATE),   ComboIndex(dialog, IDC_METHOD_PAUSE),
            ComboIndex(dialog, IDC_METHOD_DELAY),  ComboIndex(dialog, IDC_METHOD_DISPERSION),
            Text(dialog, IDC_METHOD_PERCENT)};
}

// ---- buttons

void ShowButtonStates(HWND dialog) {
    const bool norm = SelectedRow(dialog, IDC_NORMS_LIST) >= 0, method = SelectedRow(dialog, IDC_METHODS_LIST) >= 0;
    EnableWindow(GetDlgItem(dialog, IDC_NORM_CHANGE), norm);
    EnableWindow(GetDlgItem(dialog, IDC_NORM_REMOVE), norm);
    EnableWindow(GetDlgItem(dialog, IDC_METHOD_CHANGE), method);
    EnableWindow(GetDlgItem(dialog, IDC_METHOD_REMOVE), method);
}

bool Agreed(HWND dialog, const std::string& question) {
    return platform::MessageBox1251(dialog, question.c_str(), kNormsCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

// A message means nothing was taken; the fields stay as typed to be mended.
bool Taken(HWND dialog, const std::string& wrong) {
    if (wrong.empty()) return true;
    platform::MessageBox1251(dialog, wrong.c_str(), kNormsCaption, MB_OK | MB_ICONWARNING);
    return false;
}

void NormButton(HWND dialog, int id) {
    NormBook& book = StateOf(dialog)->book;
    const int row = SelectedRow(dialog, IDC_NORMS_LIST);
    if (id == IDC_NORM_REMOVE) {
        if (row < 0 || !Agreed(dialog, RemoveNormQuestion(book.norms[row]))) return;
        book.norms.erase(book.norms.begin() + row);
        ShowNorms(dialog, -1);
    } else if (id == IDC_NORM_ADD || row >= 0) {
        const int replacing = id == IDC_NORM_ADD ? -1 : row;
        if (!Taken(dialog, PutNorm(&book, TypedNorm(dialog), replacing))) return;
        ShowNorms(dialog, replacing < 0 ? static_cast<int>(book.norms.size()) - 1 : replacing);
    }
    ShowButtonStates(dialog);
}

void MethodButton(HWND dialog, int id) {
    NormBook& book = StateOf(dialog)->book;
    const int row = SelectedRow(dialog, IDC_METHODS_LIST);
    if (id == IDC_METHOD_REMOVE) {
        if (row < 0 || !Agreed(dialog, RemoveMethodQuestion(book, row))) return;
        RemoveMethod(&book, row);
        ShowMethods(dialog, -1);
    } else if (id == IDC_METHOD_ADD || row >= 0) {
        const int replacing = id == IDC_METHOD_ADD ? -1 : row;
        const std::string previous = replacing >= 0 ? book.ownMethods[replacing].name : std::string();
        if (!Taken(dialog, PutMethod(&book, TypedMethod(dialog), replacing))) return;
        if (replacing >= 0 && book.ownMethods[replacing].name != previous)
            StateOf(dialog)->renames.emplace_back(previous, book.ownMethods[replacing].name);
        ShowMethods(dialog, replacing < 0 ? static_cast<int>(book.ownMethods.size()) - 1 : replacing);
    }
    // The norms' method names and their choice follow the methods.
    FillNormMethods(dialog, book);
    ShowNorms(dialog, SelectedRow(dialog, IDC_NORMS_LIST));
    ShowButtonStates(dialog);
}

// An unchanged book is not written: a read-only file then costs no box.
void Save(HWND dialog) {
    Editing* state = StateOf(dialog);
    if (NormBookText(state->book) != NormBookText(g_normBook)) {
        const std::string path = NormBookPath();
        if (!SaveNormBook(state->book, path.c_str())) {
            platform::MessageBox1251(dialog, SaveFailedText(path).c_str(), kNormsCaption, MB_OK | MB_ICONERROR);
            return;
        }
        g_normBook = state->book;
        state->saved = true;
    }
    EndDialog(dialog, IDOK);
}

// ---- the dialog

void Open(HWND dialog, Editing* state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    CentreDialogOnOwner(dialog);
    // The tip shows the whole of a long norm's name that its column cuts.
    const LPARAM look = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;
    for (int id : {IDC_NORMS_LIST, IDC_METHODS_LIST})
        SendDlgItemMessageW(dialog, id, LVM_SETEXTENDEDLISTVIEWSTYLE, look, look);
    InsertListColumns(GetDlgItem(dialog, IDC_NORMS_LIST), kNormColumns, sizeof kNormColumns / sizeof kNormColumns[0]);
    InsertListColumns(GetDlgItem(dialog, IDC_METHODS_LIST), kMethodColumns,
                      sizeof kMethodColumns / sizeof kMethodColumns[0]);
    SendDlgItemMessageW(dialog, IDC_NORM_NAME, EM_LIMITTEXT, kNormNameLimit, 0);
    SendDlgItemMessageW(dialog, IDC_METHOD_NAME, EM_LIMITTEXT, kMethodNameLimit, 0);
    SendDlgItemMessageW(dialog, IDC_NORM_MINIMUM, EM_LIMITTEXT, kKilovoltsLimit, 0);
    SendDlgItemMessageW(dialog, IDC_NORM_GOOD, EM_LIMITTEXT, kKilovoltsLimit, 0);
    SendDlgItemMessageW(dialog, IDC_METHOD_PERCENT, EM_LIMITTEXT, kPercentLimit, 0);
    FillCombo(dialog, IDC_METHOD_BREAKDOWNS, kBreakdownChoices);
    FillCombo(dialog, IDC_METHOD_RATE, kRiseRateChoices);
    FillCombo(dialog, IDC_METHOD_PAUSE, kPauseChoices);
    FillCombo(dialog, IDC_METHOD_DELAY, kDelayChoices);
    FillCombo(dialog, IDC_METHOD_DISPERSION, kDispersionChoices);
    FillNormMethods(dialog, state->book);
    ShowMethodFields(dialog, DefaultMethodFields());
    ShowNorms(dialog, -1);
    ShowMethods(dialog, -1);
    ShowButtonStates(dialog);
}

// A row newly selected, by click or key, fills the fields below its list.
void RowChanged(HWND dialog, const NMLISTVIEW* change) {
    if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED) && change->iItem >= 0) {
        const NormBook& book = StateOf(dialog)->book;
        const size_t row = static_cast<size_t>(change->iItem);
        if (change->hdr.idFrom == IDC_NORMS_LIST && row < book.norms.size())
            ShowNormFields(dialog, FieldsOfNorm(book.norms[row]));
        if (change->hdr.idFrom == IDC_METHODS_LIST && row < book.ownMethods.size())
            ShowMethodFields(dialog, FieldsOfMethod(book.ownMethods[row]));
    }
    ShowButtonStates(dialog);
}

void Command(HWND dialog, int id, int code) {
    switch (id) {
        case IDC_NORM_ADD:
        case IDC_NORM_CHANGE:
        case IDC_NORM_REMOVE: NormButton(dialog, id); break;
        case IDC_METHOD_ADD:
        case IDC_METHOD_CHANGE:
        case IDC_METHOD_REMOVE: MethodButton(dialog, id); break;
        case IDC_METHOD_DISPERSION:
            if (code == CBN_SELCHANGE) ShowPercentState(dialog);
            break;
        case IDOK: Save(dialog); break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
        default: break;
    }
}

INT_PTR CALLBACK NormsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: Open(dialog, reinterpret_cast<Editing*>(lParam)); return TRUE;
        case WM_COMMAND: Command(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_NOTIFY: {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (change->hdr.code == LVN_ITEMCHANGED && StateOf(dialog)) RowChanged(dialog, change);
            return FALSE;
        }
        case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

bool ShowNormsDialog(HWND owner) {
    Editing state{g_normBook, false, {}};
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_NORMS), owner, NormsProc, reinterpret_cast<LPARAM>(&state));
    if (state.saved)
        for (const auto& rename : state.renames) FollowMethodRename(rename.first, rename.second);
    return state.saved;
}
