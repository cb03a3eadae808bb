// The archive viewer (dialog 700): the list of every archived series, found by
// text and date, with printing, saving, export and a sample source's trend;
// also, read-only, of an archive file moved aside by "Удалить все".
#include "results/win32/archive_viewer.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "results/shell_ids.h"
#include "common/win32/dialog_placement.h"
#include "common/win32/file_dialog.h"
#include "common/win32/list_columns.h"
#include "platform/win32/data_folder.h"
#include "platform/win32/dpi.h"
#include "platform/win32/window_registry.h"
#include "platform/clock.h"
#include "results/amendment_rules.h"
#include "results/archive_aside.h"
#include "results/archive_filter.h"
#include "results/archive_loader.h"
#include "results/archive.h"
#include "results/archive_rows.h"
#include "results/archive_suggestions.h"
#include "results/archive_versions.h"
#include "results/archive_viewer_ids.h"
#include "results/viewer_shell.h"
#include "results/win32/archive_session.h"
#include "results/win32/archive_trend_window.h"
#include "platform/win32/wide.h"

namespace {

// Column 0 is wide enough for a protocol number such as "П-17/2026", the
// results for six values, the conclusion for its header and "недейств.", the
// approval for "утв. 09.12.2026"; the material gives up what the others take,
// so at the viewer's least width every column, the conclusion, the version
// and the approval included, is in sight.
constexpr ListColumn kColumns[kArchiveColumnCount] = {
    {"Номер протокола", 80}, {"Наименование материала", 92}, {"Результаты испытания", 260},
    {"Среднее напряжение", 70}, {"Дата", 70}, {"Время", 45}, {"Изм.", 40}, {"Заключение", 76}, {"Утверждение", 92},
};

// The viewer's least size on a 96 DPI screen; the top row may ask for more.
constexpr int kLeastWidth = 860, kLeastHeight = 400;
// The top row's controls in ArchiveTopRowItem order.
constexpr int kTopRowIds[kTopRowItems] = {
    IDC_ARCHIVE_PRINT,    IDC_ARCHIVE_SAVE, IDC_ARCHIVE_CLEAR,  IDC_ARCHIVE_OPEN,    IDC_ARCHIVE_FIND_LABEL,
    IDC_ARCHIVE_FIND,     IDC_ARCHIVE_FROM_LABEL, IDC_ARCHIVE_FROM, IDC_ARCHIVE_TO_LABEL, IDC_ARCHIVE_TO,
};

ArchiveSession* SessionOf(HWND viewer) {
    return reinterpret_cast<ArchiveSession*>(GetWindowLongPtrW(viewer, GWLP_USERDATA));
}

// m is the list's distance from the viewer's left edge; it is kept on the
// other sides too. reserve is the room below the list for the details pane.
void FitList(HWND viewer, HWND list, int reserve) {
    RECT v, l;
    GetWindowRect(viewer, &v);
    GetWindowRect(list, &l);
    int m = l.left - v.left;
    int width = (v.right - v.left) - 2 * m;
    int height = v.bottom - l.top - m - reserve;
    SetWindowPos(list, nullptr, 0, 0, width > 0 ? width : 0, height > 0 ? height : 0,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT RectInViewer(HWND viewer, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, viewer, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Width of a control's text in the dialog's font, and the room its frame
// takes around the text (a button's edges, none for a label).
int TextWidth(HWND control, int frame) {
    wchar_t text[128];
    const int length = GetWindowTextW(control, text, sizeof text / sizeof text[0]);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text, length, &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx + frame;
}

// What each control of the top row needs: its template width, or more where
// the font's text is wider (a label cut on the left otherwise, as "Найти"
// was beside "Открыть архив…"). The least size follows from it.
void MeasureTopRow(HWND viewer, ArchiveSession* s) {
    RECT units{4, 0, 2, 0};  // a button's text margin, the gap between controls
    MapDialogRect(viewer, &units);
    for (int item = 0; item < kTopRowItems; ++item) {
        HWND control = GetDlgItem(viewer, kTopRowIds[item]);
        const RECT r = RectInViewer(viewer, control);
        int need = static_cast<int>(r.right - r.left);
        if (item <= kTopRowOpen) need = (std::max)(need, TextWidth(control, 2 * static_cast<int>(units.left)));
        if (item == kTopRowFindLabel || item == kTopRowFromLabel || item == kTopRowToLabel)
            need = (std::max)(need, TextWidth(control, 1));
        s->topRow.widths[item] = need;
    }
    s->topRow.gap = static_cast<int>(units.right);
    s->topRow.labelGap = static_cast<int>(units.right);
    // The row spans the list, which keeps its distance m from the window's
    // edges (FitList).
    RECT v, l;
    GetWindowRect(viewer, &v);
    GetWindowRect(s->list, &l);
    const int m = static_cast<int>(l.left - v.left);
    s->leastWidth = (std::max)(platform::Scaled(kLeastWidth), ArchiveTopRowLeastWidth(s->topRow) + 2 * m);
}

// Over the list, from its left edge to its right.
void PlaceTopRow(HWND viewer, ArchiveSession* s) {
    const RECT list = RectInViewer(viewer, s->list);
    TopRowSpan spans[kTopRowItems];
    LayOutArchiveTopRow(s->topRow, static_cast<int>(list.left), static_cast<int>(list.right), spans);
    for (int item = 0; item < kTopRowItems; ++item) {
        HWND control = GetDlgItem(viewer, kTopRowIds[item]);
        const RECT r = RectInViewer(viewer, control);
        SetWindowPos(control, nullptr, spans[item].x, r.top, spans[item].width, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Under Wine the date pickers moved into a newly enlarged part of the
    // window stayed unpainted, as the pane's labels did: draw the row again.
    RECT row{0, 0, static_cast<LONG>(list.right + list.left), list.top};
    RedrawWindow(viewer, &row, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Layout(HWND viewer, ArchiveSession* s) {
    RECT pane, v, l;
    GetWindowRect(s->details, &pane);
    FitList(viewer, s->list, pane.bottom - pane.top);
    PlaceTopRow(viewer, s);
    GetWindowRect(viewer, &v);
    l = RectInViewer(viewer, s->list);
    SetWindowPos(s->details, nullptr, 0, l.bottom + platform::Scaled(4), v.right - v.left, pane.bottom - pane.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A moved pane repaints only what changed size (its stretched edits);
    // the labels and group boxes would stay blank until something covers
    // them. Draw the whole pane again.
    RedrawWindow(s->details, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

// Takes the records the reader has handed over so far; the series they
// start that the find lets through become rows at the end of the list. An
// amendment stays in its series' row; under a find it may let the row in or
// out, so then the rows are found again.
void AddRows(ArchiveSession* s, size_t upTo) {
    if (s->taken >= upTo) return;
    const bool all = s->filter.MatchesAll();
    bool refind = false;
    for (; s->taken < upTo; ++s->taken) {
        const TestRecord& r = s->records[s->taken];
        s->conclusions.Add(r);
        if (!s->versions.Add(s->records, static_cast<uint32_t>(s->taken))) refind = refind || !all;
        else if (all || s->filter.Matches(r, s->conclusions.Text(s->taken)))
            s->rows.push_back(static_cast<uint32_t>(s->taken));
    }
    if (refind) s->filter.FilterSeries(s->records, s->versions, s->taken, &s->rows, &s->conclusions);
    SendMessageW(s->list, LVM_SETITEMCOUNT, s->rows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

const TestRecord* RecordAtRow(ArchiveSession* s, int row) {
    if (row < 0 || static_cast<size_t>(row) >= s->rows.size()) return nullptr;
    return &s->records[s->versions.Newest(s->rows[row])];
}

// The list asks for each cell it draws; it asks for one row's cells in a
// row, so the last row formatted is kept.
const char* CellText(ArchiveSession* s, int row, int column) {
    const TestRecord* r = RecordAtRow(s, row);
    if (!r || column < 0 || column >= kArchiveColumnCount) return "";
    const int64_t index = s->versions.Newest(s->rows[row]);
    if (s->cachedRecord != index) {
        const bool damaged = std::binary_search(s->damagedSeries.begin(), s->damagedSeries.end(), s->rows[row]);
        VersionApproval approval;
        const bool approved = s->approvals && s->approvals(r->testTime, r->marks.amendment, &approval);
        ArchiveRowCells(*r, &s->cachedCells, damaged, approved ? &approval : nullptr);
        s->cachedRecord = index;
    }
    return s->cachedCells.cells[column];
}

void AnswerCell(ArchiveSession* s, LPARAM lParam) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    const char* text = CellText(s, info->item.iItem, info->item.iSubItem);
    int n = MultiByteToWideChar(platform::kTextCodePage, 0, text, -1, info->item.pszText, info->item.cchTextMax);
    if (n == 0) info->item.pszText[info->item.cchTextMax - 1] = 0;  // cut to the room given
}

const TestRecord* SelectedRecord(ArchiveSession* s);

// Only rows listed are shown; i wraps as an unsigned index.
void ShowDetails(ArchiveSession* s, int i) {
    if (s->rows.empty()) return;
    s->shown = s->versions.Newest(s->rows[static_cast<uint32_t>(i) % s->rows.size()]);
    ShowArchiveDetails(s->details, *s, s->shown);
}

// The version chosen in "Версия" replaces the one shown.
void ShowChosenVersion(ArchiveSession* s) {
    if (s->shown == kNoRecord) return;
    const int k = static_cast<int>(SendDlgItemMessageW(s->details, IDC_DETAILS_VERSION, CB_GETCURSEL, 0, 0));
    const std::vector<uint32_t> versions = s->versions.Versions(s->versions.FirstOf(s->shown));
    if (k < 0 || static_cast<size_t>(k) >= versions.size()) return;
    s->shown = versions[k];
    ShowArchiveDetails(s->details, *s, s->shown);
}

bool IsNewest(const ArchiveSession* s, uint32_t version) {
    return s->versions.Newest(s->versions.FirstOf(version)) == version;
}

// Runs once the print or file dialog was confirmed. Texts mended in the
// newest version of a series of log.dat go into it first, as the series' next
// version, and the list takes it in its room after the file's records; the
// version printed is then that one, and the main window's form follows it.
// Any other version, and every version of another file, prints as stored.
bool ArchiveMendedTexts(ArchiveSession* s, uint32_t version, TestRecord* record) {
    static TestRecord amended;  // 3416 bytes; user-interface thread only
    SystemTime now;
    platform::LocalTime(&now);
    if (!ViewerAmendmentNeeded(s->path, IsNewest(s, version), *record, s->records[version], SecondsSince2000(now),
                               &amended)) {
        *record = s->records[version];
        return true;
    }
    // The reason is asked before anything is written: Отмена appends nothing.
    if (!InstalledViewerShell().askAmendmentReason(s->records[version], amended)) return false;
    if (!ArchiveAppend(amended)) return false;
    InstalledViewerShell().registerAmendment(amended);  // before the pane shows who and why
    *record = amended;
    ArchivedTexts().Take(amended);  // the form's fields offer the mended texts from now on
    InstalledViewerShell().formFollowsAmendment(amended);
    if (!s->loadingDone || s->taken >= s->capacity) return true;
    s->records[s->taken] = amended;
    s->ready = s->taken + 1;
    AddRows(s, s->taken + 1);
    s->shown = static_cast<uint32_t>(s->taken - 1);
    s->cachedRecord = -1;
    InvalidateRect(s->list, nullptr, TRUE);
    ShowArchiveDetails(s->details, *s, s->shown);
    return true;
}

// "Утвердить" approves the version the pane shows; once the register holds
// it, the register is read again and the list and the pane show it.
void ApproveShown(ArchiveSession* s) {
    if (s->shown == kNoRecord || !AmendmentArchive(s->path)) return;
    if (!InstalledViewerShell().approveVersion(s->records[s->shown])) return;
    s->approvals = InstalledViewerShell().readApprovals();
    s->cachedRecord = -1;
    InvalidateRect(s->list, nullptr, TRUE);
    ShowArchiveDetails(s->details, *s, s->shown);
}

// Printing and saving take the version the pane shows: the one chosen when
// the button was pressed, whatever the list does while the dialog is open.
void OutputShown(ArchiveSession* s, bool print) {
    if (s->shown == kNoRecord || !SelectedRecord(s)) return;
    static TestRecord record;  // 3416 bytes; user-interface thread only
    const uint32_t version = s->shown;
    DetailsRecord(s->details, *s, &record);
    const VersionCommit commit = [s, version](TestRecord* r) { return ArchiveMendedTexts(s, version, r); };
    if (print) InstalledViewerShell().printProtocol(record, commit);
    else InstalledViewerShell().saveProtocol(record, commit);
}

// The highlighted row, which is also the one the pane shows: printing or
// saving must never take another series than the one on screen.
const TestRecord* SelectedRecord(ArchiveSession* s) {
    return RecordAtRow(s, static_cast<int>(SendMessageW(s->list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                        LVNI_SELECTED)));
}

void SelectRow(ArchiveSession* s, int row) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(s->list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    SendMessageW(s->list, LVM_SETSELECTIONMARK, 0, row);
    SendMessageW(s->list, LVM_ENSUREVISIBLE, row, FALSE);
    ShowDetails(s, row);
}

// Once per opening: the rows of the series whose records fail their crc are
// marked where the list shows them, and the warning names those rows.
void WarnOfDamage(HWND viewer, ArchiveSession* s) {
    s->damagedSeries = ArchiveDamagedSeries(s->damagedRecords, s->versions);
    s->cachedRecord = -1;
    InvalidateRect(s->list, nullptr, TRUE);
    const std::vector<uint32_t> rows = ArchiveDamagedRows(s->damagedSeries, s->rows);
    if (ArchiveLoadWarning(s->loaded, rows, s->warning, sizeof s->warning))
        PostMessageW(viewer, kMismatchWarningMessage, 0, 0);
}

void LoadingDone(HWND viewer, ArchiveSession* s) {
    AddRows(s, s->ready);
    s->loadingDone = true;
    SendMessageW(viewer, WM_SIZE, SIZE_RESTORED, 0);
    SendMessageW(s->list, WM_VSCROLL, SB_BOTTOM, 0);
    if (!s->rows.empty()) SelectRow(s, static_cast<int>(s->rows.size() - 1));
    WarnOfDamage(viewer, s);
}

// A day of a date picker, or 0 when its box is unticked (that side open).
uint32_t PickedDay(HWND viewer, int id) {
    SYSTEMTIME t{};
    if (SendDlgItemMessageW(viewer, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID) return 0;
    return ArchiveDayKey(t.wYear, t.wMonth, t.wDay);
}

// Lists again what the find lets through. The series shown stays selected
// when it is still listed; otherwise the newest listed one is.
void ApplyFind(HWND viewer, ArchiveSession* s) {
    char text[kProtocolTextSize];
    platform::ItemTextInto(viewer, IDC_ARCHIVE_FIND, text, sizeof text);
    const TestRecord* shown = SelectedRecord(s);
    const int64_t kept = shown ? s->versions.FirstOf(static_cast<uint32_t>(shown - s->records)) : -1;
    s->filter = ArchiveFilter(text, PickedDay(viewer, IDC_ARCHIVE_FROM), PickedDay(viewer, IDC_ARCHIVE_TO));
    s->filter.FilterSeries(s->records, s->versions, s->taken, &s->rows, &s->conclusions);
    s->cachedRecord = -1;
    SendMessageW(s->list, LVM_SETITEMCOUNT, s->rows.size(), 0);
    InvalidateRect(s->list, nullptr, TRUE);
    if (s->rows.empty()) {
        s->shown = kNoRecord;
        ClearArchiveDetails(s->details);
        return;
    }
    // While the reader still lists, nothing is selected yet unless the user chose a row.
    if (!s->loadingDone && kept < 0) return;
    int row = kept >= 0 ? ArchiveRowOf(s->rows, static_cast<uint32_t>(kept)) : -1;
    SelectRow(s, row >= 0 ? row : static_cast<int>(s->rows.size() - 1));
}

bool HasText(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return true;
    return false;
}

void ShowTrend(HWND viewer, ArchiveSession* s) {
    const TestRecord* r = SelectedRecord(s);
    if (!r) return;
    char source[kProtocolTextSize];
    lstrcpynA(source, r->protocolText[3], sizeof source);
    if (!HasText(source)) {
        platform::MessageBox1251(viewer, "У выбранного испытания не указан объект, из которого взята проба.", "Внимание!",
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    ShowArchiveTrend(viewer, s->records, s->taken, source);
}

// Nothing is destroyed: the series go to a dated file beside log.dat, which
// "Открыть архив…" still shows.
void ClearArchive(HWND viewer) {
    SystemTime now;
    platform::LocalTime(&now);
    char name[kArchiveAsideNameSize], text[512];
    ArchiveAsideName(now, 1, name, sizeof name);
    wsprintfA(text, "Все результаты будут перенесены в файл %s в папке данных; архив начнется заново. Продолжить?",
              name);
    // A stray Enter must not be enough.
    if (platform::MessageBox1251(viewer, text, "Внимание!", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    const ArchiveAsideResult aside = ArchiveMoveAside(now);
    if (!aside.moved && !aside.noArchive) {
        wsprintfA(text, "Не удалось перенести результаты в файл %s (код ошибки %u). Архив оставлен как был.",
                  aside.name, static_cast<unsigned>(aside.error));
        platform::MessageBox1251(viewer, text, "Ошибка!", MB_OK | MB_ICONERROR);
        return;
    }
    SendMessageW(viewer, WM_CLOSE, 0, 0);
}

void ShowArchiveViewerOf(HWND owner, const char* path);

// Another archive file, which the viewer it opens only reads.
void OpenOtherArchive(HWND viewer) {
    wchar_t fileName[MAX_PATH] = L"";
    // The data folder, where log.dat and the files moved aside lie.
    const std::wstring folder = platform::DataFolderPath();
    const FileDialogRequest request{viewer, L"Архив ОРЛА-К200В (log*.dat)\0log*.dat\0", fileName, nullptr,
                                    folder.c_str(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY};
    if (AskFileToOpen(request)) ShowArchiveViewerOf(viewer, platform::Narrow(fileName).c_str());
}

// A viewer of another file names it and cannot clear it.
void MarkReadOnly(HWND viewer, ArchiveSession* s) {
    const char* name = s->path;
    for (const char* c = s->path; *c; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    char caption[MAX_PATH + 64];
    wsprintfA(caption, "Результаты ранее проведенных испытаний: %s", name);
    platform::SetWindowText1251(viewer, caption);
    EnableWindow(GetDlgItem(viewer, IDC_ARCHIVE_CLEAR), FALSE);
}

bool StartReader(ArchiveSession* s) {
    HANDLE thread = CreateThread(nullptr, 0, ArchiveReader, s, 0, nullptr);
    if (!thread) return false;
    SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    CloseHandle(thread);
    return true;
}

BOOL InitViewer(HWND viewer, ArchiveSession* s) {
    SetWindowLongPtrW(viewer, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    HINSTANCE instance = GetModuleHandleW(nullptr);
    s->viewer = viewer;
    s->list = GetDlgItem(viewer, IDC_ARCHIVE_LIST);
    s->details = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ARCHIVE_DETAILS), viewer, ArchiveDetailsProc, 0);
    s->previousViewer = WindowHandle(ui::Window::ArchiveViewer);
    s->previousDetails = WindowHandle(ui::Window::ArchiveDetails);
    RegisterWindow(ui::Window::ArchiveViewer, viewer);
    RegisterWindow(ui::Window::ArchiveDetails, s->details);
    if (s->path[0]) MarkReadOnly(viewer, s);
    SendMessageW(viewer, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN))));
    MeasureTopRow(viewer, s);
    RECT v;
    GetWindowRect(viewer, &v);
    if (v.right - v.left < s->leastWidth)
        SetWindowPos(viewer, nullptr, 0, 0, s->leastWidth, v.bottom - v.top, SWP_NOMOVE | SWP_NOZORDER);
    CentreDialogOnOwner(viewer);
    FitList(viewer, s->list, 0);
    SetFocus(s->list);
    SendMessageW(s->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertListColumns(s->list, kColumns, kArchiveColumnCount);
    SendDlgItemMessageW(viewer, IDC_ARCHIVE_FIND, EM_LIMITTEXT, kProtocolTextSize - 1, 0);
    // Both ends of the date range start open.
    SendDlgItemMessageW(viewer, IDC_ARCHIVE_FROM, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    SendDlgItemMessageW(viewer, IDC_ARCHIVE_TO, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    // Once per opening, not once a row: the list may hold 50 000 series.
    s->approvals = InstalledViewerShell().readApprovals();
    // Place the pane now rather than after loading: until then it would lie
    // over the buttons of a viewer that is already in use.
    Layout(viewer, s);
    if (!StartReader(s)) {
        platform::MessageBox1251(nullptr, "Невозможно запустить поток чтения результатов проведенных измерений!", "Ошибка!",
                    MB_OK);
        ExitProcess(0);
    }
    return FALSE;  // the focus is set
}

// The viewer this one was opened from, if any, is the archive viewer again.
void UnregisterViewer(HWND viewer, ArchiveSession* s) {
    if (WindowHandle(ui::Window::ArchiveViewer) != viewer) return;
    RegisterWindow(ui::Window::ArchiveViewer, s->previousViewer);
    RegisterWindow(ui::Window::ArchiveDetails, s->previousDetails);
}

void LimitTracking(ArchiveSession* s, MINMAXINFO* info) {
    info->ptMinTrackSize.x = s->leastWidth;
    info->ptMinTrackSize.y = platform::Scaled(kLeastHeight);
    info->ptMaxTrackSize.x = GetSystemMetrics(SM_CXSCREEN);
    info->ptMaxTrackSize.y = GetSystemMetrics(SM_CYSCREEN);
}

// The pane follows the selection however it moves: click, arrow keys, Page
// Down, Home, End.
void Notify(HWND viewer, ArchiveSession* s, LPARAM lParam) {
    auto* note = reinterpret_cast<NMHDR*>(lParam);
    if (note->idFrom == IDC_ARCHIVE_LIST && note->code == LVN_GETDISPINFOW) AnswerCell(s, lParam);
    if ((note->idFrom == IDC_ARCHIVE_FROM || note->idFrom == IDC_ARCHIVE_TO) && note->code == DTN_DATETIMECHANGE)
        ApplyFind(viewer, s);
    if (note->idFrom == IDC_ARCHIVE_LIST && note->code == LVN_ITEMCHANGED) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
        if (change->iItem >= 0 && (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
            !(change->uOldState & LVIS_SELECTED))
            ShowDetails(s, change->iItem);
    }
}

// False for a command the viewer does not handle.
bool Command(HWND viewer, ArchiveSession* s, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: EndDialog(viewer, 0); return true;
        case IDC_ARCHIVE_PRINT: OutputShown(s, true); return true;
        case IDC_ARCHIVE_SAVE: OutputShown(s, false); return true;
        case IDC_ARCHIVE_CLEAR:
            if (!s->path[0]) ClearArchive(viewer);
            return true;
        case IDC_ARCHIVE_OPEN: OpenOtherArchive(viewer); return true;
        case IDC_ARCHIVE_FIND:
            if (HIWORD(wParam) == EN_CHANGE) ApplyFind(viewer, s);
            return true;
        case IDC_ARCHIVE_EXPORT: {
            // A series is exported once, as its newest version.
            std::vector<uint32_t> newest(s->rows.size());
            for (size_t i = 0; i < newest.size(); ++i) newest[i] = s->versions.Newest(s->rows[i]);
            ExportArchiveRows(viewer, s->records, newest);
            return true;
        }
        case IDC_DETAILS_VERSION: ShowChosenVersion(s); return true;
        case IDC_ARCHIVE_TREND: ShowTrend(viewer, s); return true;
        case IDC_ARCHIVE_APPROVE: ApproveShown(s); return true;
        default: return false;
    }
}

INT_PTR CALLBACK ViewerProc(HWND viewer, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return InitViewer(viewer, reinterpret_cast<ArchiveSession*>(lParam));
    ArchiveSession* s = SessionOf(viewer);
    if (!s) return FALSE;
    switch (message) {
        case kRowsLoadedMessage:
            AddRows(s, static_cast<size_t>(wParam));
            return TRUE;
        case kLoadingDoneMessage:
            LoadingDone(viewer, s);
            return TRUE;
        case kMismatchWarningMessage:
            platform::MessageBox1251(viewer, s->warning, "Внимание!", MB_OK | MB_ICONWARNING);
            return TRUE;
        case WM_SIZE:
            if (s->details) Layout(viewer, s);
            return TRUE;
        case WM_GETMINMAXINFO: LimitTracking(s, reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
        case WM_NOTIFY: Notify(viewer, s, lParam); return TRUE;
        case WM_COMMAND: return Command(viewer, s, wParam) ? TRUE : FALSE;
        case WM_CLOSE:
            EndDialog(viewer, 0);
            // Ended, though not yet destroyed: a box asked for now must not
            // be given to it as its owner, or it would go with it.
            UnregisterViewer(viewer, s);
            return TRUE;
        case WM_DESTROY:
            s->viewerOpen = false;
            UnregisterViewer(viewer, s);
            SetWindowLongPtrW(viewer, GWLP_USERDATA, 0);
            ReleaseArchiveSession(s);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void ReleaseArchiveSession(ArchiveSession* s) {
    if (--s->holders > 0) return;
    delete[] s->records;
    delete s;
}

namespace {

// path nullptr: log.dat.
void ShowArchiveViewerOf(HWND owner, const char* path) {
    auto* session = new (std::nothrow) ArchiveSession;
    if (!session) return;
    if (path) lstrcpynA(session->path, path, sizeof session->path);
    INT_PTR shown = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ARCHIVE_VIEWER), owner, ViewerProc,
                                    reinterpret_cast<LPARAM>(session));
    // The dialog never came up, so neither did its reader.
    if (shown == -1 || !session->viewer) {
        ReleaseArchiveSession(session);
        ReleaseArchiveSession(session);
    }
}

}  // namespace

void ShowArchiveViewer() { ShowArchiveViewerOf(WindowHandle(ui::Window::Main), nullptr); }

void ShowOtherArchive() { OpenOtherArchive(WindowHandle(ui::Window::Main)); }
