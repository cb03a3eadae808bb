// The window operations of the core on Win32, by logical window and control.
// Every call here may come from a worker thread: each one ends in a message
// sent to the window, which the user-interface thread executes while the
// caller waits.
#include "platform/ui.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/text_fit.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_registry.h"

// windows.h maps MessageBox to MessageBoxW, which would rename ours.
#undef MessageBox

namespace ui {
namespace {

HWND Live(Window window) {
    HWND handle = WindowHandle(window);
    return handle && IsWindow(handle) ? handle : nullptr;
}

HWND Control(Window window, int id) {
    HWND parent = Live(window);
    if (!parent) return nullptr;
    if (window == Window::Main && id == kStatusBar) return StatusBarHandle();
    return GetDlgItem(parent, id);
}

}  // namespace

bool Exists(Window window) { return Live(window) != nullptr; }

void SetText(Window window, int id, const char* text) {
    if (HWND control = Control(window, id)) platform::SendText1251(control, WM_SETTEXT, 0, text);
}

int GetText(Window window, int id, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = 0;
    return platform::WindowTextInto(Control(window, id), buffer, size);
}

void Enable(Window window, int id, bool enabled) {
    if (HWND control = Control(window, id)) EnableWindow(control, enabled);
}

void EnableMenuItem(Window window, int id, bool enabled) {
    HWND owner = Live(window);
    HMENU menu = owner ? GetMenu(owner) : nullptr;
    if (!menu) return;
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
    DrawMenuBar(owner);
}

void InsertMenuItemBefore(Window window, int beforeId, int newId, const char* text) {
    HWND owner = Live(window);
    HMENU menu = owner ? GetMenu(owner) : nullptr;
    if (!menu) return;
    InsertMenuW(menu, beforeId, MF_BYCOMMAND | MF_STRING, newId, platform::Wide(text).c_str());
    DrawMenuBar(owner);
}

void SetCheck(Window window, int id, bool checked) {
    if (HWND control = Control(window, id))
        SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SetCaption(Window window, const char* text) {
    if (HWND handle = Live(window)) platform::SetWindowText1251(handle, text);
}

namespace {
// The control keeps its tooltip window as a property, so any thread finds it.
constexpr wchar_t kToolTipProperty[] = L"OrlaToolTip";

TTTOOLINFOW ToolOf(HWND control, wchar_t* text) {
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    return tool;
}
}  // namespace

void AttachToolTip(Window window, int id) {
    HWND control = Control(window, id);
    if (!control || GetPropW(control, kToolTipProperty)) return;
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(control), nullptr,
                               nullptr, nullptr);
    if (!tip) return;
    wchar_t empty[] = L"";
    TTTOOLINFOW tool = ToolOf(control, empty);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Driver messages are long: wrapped into lines, not one across the screen.
    constexpr int kTipWidth = 480;  // pixels at 96 DPI
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, platform::Scaled(kTipWidth));
    SetPropW(control, kToolTipProperty, tip);
}

void SetToolTip(Window window, int id, const char* text) {
    HWND control = Control(window, id);
    HWND tip = control ? static_cast<HWND>(GetPropW(control, kToolTipProperty)) : nullptr;
    if (!tip) return;
    std::wstring wide = platform::Wide(text);
    TTTOOLINFOW tool = ToolOf(control, &wide[0]);
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_ACTIVATE, wide.empty() ? FALSE : TRUE, 0);
}

bool GetWindowRect(Window window, int* left, int* top, int* right, int* bottom) {
    HWND handle = Live(window);
    RECT rect;
    if (!handle || !::GetWindowRect(handle, &rect)) return false;
    *left = rect.left;
    *top = rect.top;
    *right = rect.right;
    *bottom = rect.bottom;
    return true;
}

void SendClose(Window window) {
    if (HWND handle = Live(window)) SendMessageW(handle, WM_CLOSE, 0, 0);
}

void CloseControl(Window window, int id) {
    if (HWND control = Control(window, id)) SendMessageW(control, WM_CLOSE, 0, 0);
}

void ShowControl(Window window, int id, bool shown) {
    if (HWND control = Control(window, id)) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

int MessageBox(Window owner, const char* text, const char* caption, unsigned style) {
    return platform::MessageBox1251(DialogOwner(owner), text, caption, style);
}

namespace {
struct PostedBox {
    Window owner;
    unsigned style;
    char text[1024];
    char caption[64];
};
}  // namespace

void PostMessageBox(Window owner, const char* text, const char* caption, unsigned style) {
    HWND main = Live(Window::Main);
    if (!main) return;
    auto* box = new PostedBox{owner, style, {}, {}};
    lstrcpynA(box->text, text, sizeof box->text);
    lstrcpynA(box->caption, caption, sizeof box->caption);
    if (!PostMessageW(main, kPostedMessageBox, 0, reinterpret_cast<LPARAM>(box))) delete box;
}

}  // namespace ui

// A box closing re-enables its owner. The archive viewer is modal over the
// main window, so a box meant for the main window while the viewer is open
// belongs to the viewer: else its closing would unlock the main window
// behind the viewer and bring it to the front.
HWND DialogOwner(ui::Window owner) {
    if (owner == ui::Window::None) return nullptr;
    if (owner == ui::Window::Main)
        if (HWND viewer = ui::Live(ui::Window::ArchiveViewer)) return viewer;
    return ui::Live(owner);
}

void ShowPostedMessageBox(LPARAM posted) {
    auto* box = reinterpret_cast<ui::PostedBox*>(posted);
    HWND owner = DialogOwner(box->owner);
    if (!owner) owner = DialogOwner(ui::Window::Main);
    platform::MessageBox1251(owner, box->text, box->caption, box->style);
    delete box;
}

namespace ui {

void ListClear(Window window, int id) {
    if (HWND list = Control(window, id)) SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

int ListAddRow(Window window, int id, const char* const* cells, int cellCount) {
    HWND list = Control(window, id);
    if (!list || cellCount <= 0) return -1;
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::wstring first = platform::Wide(cells[0]);
    item.pszText = &first[0];
    int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    for (int cell = 1; cell < cellCount; ++cell) {
        LVITEMW sub = {};
        sub.iSubItem = cell;
        std::wstring text = platform::Wide(cells[cell]);
        sub.pszText = &text[0];
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

int ListRowCount(Window window, int id) {
    HWND list = Control(window, id);
    return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

void ListSelectRow(Window window, int id, int row) {
    HWND list = Control(window, id);
    if (!list) return;
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void ListScrollToEnd(Window window, int id) {
    if (HWND list = Control(window, id)) SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
}

void SetProgress(Window window, int id, int position, int maximum) {
    HWND bar = Control(window, id);
    if (!bar) return;
    SendMessageW(bar, PBM_SETRANGE32, 0, maximum);
    SendMessageW(bar, PBM_SETPOS, position, 0);
}

namespace {
// The open list as wide as its longest item, so long names that begin alike
// (norms differing only at their ends) can be told apart.
void FitDroppedWidth(HWND combo, const char* const* items, int count) {
    HDC dc = GetDC(combo);
    if (!dc) return;
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)));
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) {
        std::wstring text = platform::Wide(items[i]);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widths.push_back(size.cx);
    }
    SelectObject(dc, previous);
    ReleaseDC(combo, dc);
    RECT rect = {};
    ::GetWindowRect(combo, &rect);
    constexpr int kItemMargins = 8;  // the list's border and the item's inner margins
    const int padding = platform::Scaled(kItemMargins) + GetSystemMetrics(SM_CXVSCROLL);
    const int width = platform::WidthForWholeTexts(widths, rect.right - rect.left, padding, GetSystemMetrics(SM_CXSCREEN));
    SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}
}  // namespace

void ComboSetItems(Window window, int id, const char* const* items, int count, int selected) {
    HWND combo = Control(window, id);
    if (!combo) return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) platform::SendText1251(combo, CB_ADDSTRING, 0, items[i]);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    FitDroppedWidth(combo, items, count);
}

void ComboSelect(Window window, int id, int item) {
    if (HWND combo = Control(window, id)) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

int ComboSelection(Window window, int id) {
    HWND combo = Control(window, id);
    return combo ? static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : -1;
}

}  // namespace ui
