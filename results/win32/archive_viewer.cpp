#include "results/win32/archive_viewer.h"

#include <windows.h>
#include <commctrl.h>

#include <new>

#include "app/resource_ids.h"
#include "app/win32/dialog_placement.h"
#include "app/win32/list_columns.h"
#include "app/win32/window_rules.h"
#include "platform/win32/window_registry.h"
#include "protocol/win32/protocol_output.h"
#include "results/archive_loader.h"
#include "results/archive_rows.h"
#include "results/archive_viewer_ids.h"
#include "results/win32/archive_session.h"

namespace {


constexpr ListColumn kColumns[kArchiveColumnCount] = {
    {"Номер протокола", 55},      {"Наименование материала", 250}, {"Результаты испытания", 300},
    {"Среднее напряжение", 70}, {"Дата", 70},
};

ArchiveSession* SessionOf(HWND viewer) {
    return reinterpret_cast<ArchiveSession*>(GetWindowLongPtrA(viewer, GWLP_USERDATA));
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

void Layout(HWND viewer, ArchiveSession* s) {
    RECT pane, v, l;
    GetWindowRect(s->details, &pane);
    FitList(viewer, s->list, pane.bottom - pane.top);
    GetWindowRect(viewer, &v);
    GetWindowRect(s->list, &l);
    MapWindowPoints(nullptr, viewer, reinterpret_cast<POINT*>(&l), 2);
    SetWindowPos(s->details, nullptr, 0, l.bottom + 4, v.right - v.left, pane.bottom - pane.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A moved pane repaints only what changed size (its stretched edits);
    // the labels and group boxes would stay blank until something covers
    // them. Draw the whole pane again.
    RedrawWindow(s->details, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

void AddRows(ArchiveSession* s, size_t upTo) {
    if (s->listed >= upTo) return;
    // Redrawing after every insertion makes a batch cost far more than the
    // insertions themselves.
    SendMessageA(s->list, WM_SETREDRAW, FALSE, 0);
    for (; s->listed < upTo; ++s->listed) {
        ArchiveRowTexts texts;
        ArchiveRowCells(s->records[s->listed], &texts);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(s->listed);
        item.pszText = texts.cells[0];
        int row = static_cast<int>(SendMessageA(s->list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (int c = 1; c < kArchiveColumnCount; ++c) {
            LVITEMA cell{};
            cell.iSubItem = c;
            cell.pszText = texts.cells[c];
            SendMessageA(s->list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
        }
    }
    SendMessageA(s->list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(s->list, nullptr, FALSE);
}

// Only rows already listed are shown; i wraps as an unsigned index.
void ShowDetails(ArchiveSession* s, int i) {
    if (s->listed == 0) return;
    ShowArchiveDetails(s->details, s->records[static_cast<uint32_t>(i) % s->listed]);
}

// The highlighted row, which is also the one the pane shows: printing or
// saving must never take another series than the one on screen.
const TestRecord* SelectedRecord(ArchiveSession* s) {
    int row = static_cast<int>(SendMessageA(s->list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0 || static_cast<size_t>(row) >= s->listed) return nullptr;
    return &s->records[row];
}

void LoadingDone(HWND viewer, ArchiveSession* s) {
    AddRows(s, s->ready);
    SendMessageA(viewer, WM_SIZE, SIZE_RESTORED, 0);
    SendMessageA(s->list, WM_VSCROLL, SB_BOTTOM, 0);
    if (s->listed == 0) return;
    int last = static_cast<int>(s->listed - 1);
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(s->list, LVM_SETITEMSTATE, last, reinterpret_cast<LPARAM>(&state));
    SendMessageA(s->list, LVM_SETSELECTIONMARK, 0, last);
    SendMessageA(s->list, LVM_ENSUREVISIBLE, last, FALSE);
    ShowDetails(s, last);
    if (s->warning[0]) PostMessageA(viewer, kMismatchWarningMessage, 0, 0);
}

void ClearArchive(HWND viewer) {
    // Every stored series goes: a stray Enter must not be enough.
    if (MessageBoxA(viewer, "Будут удалены все результаты измерений.", "Внимание!",
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    if (!ArchiveClear())
        MessageBoxA(viewer, "Не удалось удалить результаты измерений: файл log.dat занят.", "Ошибка!",
                    MB_OK | MB_ICONERROR);
    SendMessageA(viewer, WM_CLOSE, 0, 0);
}

bool StartReader(ArchiveSession* s) {
    HANDLE thread = CreateThread(nullptr, 0, ArchiveReader, s, 0, nullptr);
    if (!thread) return false;
    SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    CloseHandle(thread);
    return true;
}

BOOL InitViewer(HWND viewer, ArchiveSession* s) {
    SetWindowLongPtrA(viewer, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    s->viewer = viewer;
    s->list = GetDlgItem(viewer, IDC_ARCHIVE_LIST);
    s->details = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_ARCHIVE_DETAILS), viewer, ArchiveDetailsProc, 0);
    RegisterWindow(ui::Window::ArchiveViewer, viewer);
    RegisterWindow(ui::Window::ArchiveDetails, s->details);
    SendMessageA(viewer, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN))));
    CentreDialogOnOwner(viewer);
    FitList(viewer, s->list, 0);
    SetFocus(s->list);
    SendMessageA(s->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertListColumns(s->list, kColumns, kArchiveColumnCount);
    // Place the pane now rather than after loading: until then it would lie
    // over the buttons of a viewer that is already in use.
    Layout(viewer, s);
    if (!StartReader(s)) {
        MessageBoxA(nullptr, "Невозможно запустить поток чтения результатов проведенных измерений!", "Ошибка!",
                    MB_OK);
        ExitProcess(0);
    }
    return FALSE;  // the focus is set
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
            MessageBoxA(viewer, s->warning, "Внимание!", MB_OK | MB_ICONWARNING);
            return TRUE;
        case WM_SIZE:
            if (s->details) Layout(viewer, s);
            return TRUE;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = 800;
            info->ptMinTrackSize.y = 400;
            info->ptMaxTrackSize.x = GetSystemMetrics(SM_CXSCREEN);
            info->ptMaxTrackSize.y = GetSystemMetrics(SM_CYSCREEN);
            return TRUE;
        }
        case WM_NOTIFY: {
            // The pane follows the selection however it moves: click, arrow
            // keys, Page Down, Home, End.
            auto* note = reinterpret_cast<NMHDR*>(lParam);
            if (note->idFrom == IDC_ARCHIVE_LIST && note->code == LVN_ITEMCHANGED) {
                auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
                if (change->iItem >= 0 && (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                    !(change->uOldState & LVIS_SELECTED))
                    ShowDetails(s, change->iItem);
            }
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL:
                    EndDialog(viewer, 0);
                    return TRUE;
                case IDC_ARCHIVE_PRINT:
                    if (const TestRecord* r = SelectedRecord(s)) PrintProtocol(*r);
                    return TRUE;
                case IDC_ARCHIVE_SAVE:
                    if (const TestRecord* r = SelectedRecord(s)) SaveProtocolRtf(*r);
                    return TRUE;
                case IDC_ARCHIVE_CLEAR:
                    ClearArchive(viewer);
                    return TRUE;
            }
            break;
        case WM_CLOSE:
            EndDialog(viewer, 0);
            return TRUE;
        case WM_DESTROY:
            s->viewerOpen = false;
            if (WindowHandle(ui::Window::ArchiveViewer) == viewer) {
                RegisterWindow(ui::Window::ArchiveViewer, nullptr);
                RegisterWindow(ui::Window::ArchiveDetails, nullptr);
            }
            SetWindowLongPtrA(viewer, GWLP_USERDATA, 0);
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

void ShowArchiveViewer() {
    HWND owner = WindowHandle(ui::Window::Main);
    auto* session = new (std::nothrow) ArchiveSession;
    if (!session) return;
    INT_PTR shown = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ARCHIVE_VIEWER), owner, ViewerProc,
                                    reinterpret_cast<LPARAM>(session));
    // The dialog never came up, so neither did its reader.
    if (shown == -1 || !session->viewer) {
        ReleaseArchiveSession(session);
        ReleaseArchiveSession(session);
    }
}
