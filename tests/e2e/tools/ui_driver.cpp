// Drives the program's main window from another process, as a person would:
// finds windows, reads control texts, clicks buttons and menu items, presses
// keys and answers message boxes. Commands chain on one command line so a
// test pays Wine's start-up once per step. See docs/testing.md.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/tools/menu_query.h"

namespace {

HWND g_main = nullptr;
DWORD g_pid = 0;
DWORD g_posted = 0;  // tick of the last click or menu command posted

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

// Straight to the handle: the C runtime's text mode would turn LF into CRLF.
void Out(const std::string& s) {
    std::string line = s + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), DWORD(line.size()), &written, nullptr);
}

[[noreturn]] void Fail(const std::wstring& message) {
    std::string line = "ui_driver: " + Utf8(message) + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), DWORD(line.size()), &written, nullptr);
    ExitProcess(1);
}

std::wstring WindowText(HWND w) {
    wchar_t buf[1024] = {0};
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 1024, LPARAM(buf), SMTO_ABORTIFHUNG, 3000, &len)) return L"";
    return std::wstring(buf, size_t(len) < 1024 ? size_t(len) : 1023);
}

std::wstring ClassOf(HWND w) {
    wchar_t buf[128] = {0};
    GetClassNameW(w, buf, 128);
    return buf;
}

DWORD PidOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

double SecondsArg(const std::wstring& s) { return std::wcstod(s.c_str(), nullptr); }

// Polls until `done` or the timeout; 100 ms steps.
template <typename F>
bool WaitFor(double seconds, F done) {
    DWORD end = GetTickCount() + DWORD(seconds * 1000);
    for (;;) {
        if (done()) return true;
        if (LONG(GetTickCount() - end) >= 0) return false;
        Sleep(100);
    }
}

struct FindArgs {
    std::wstring caption;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND w, LPARAM p) {
    FindArgs* a = reinterpret_cast<FindArgs*>(p);
    if (!IsWindowVisible(w)) return TRUE;
    if (a->pid && PidOf(w) != a->pid) return TRUE;
    if (WindowText(w) != a->caption) return TRUE;
    a->found = w;
    return FALSE;
}

HWND FindTop(const std::wstring& caption, DWORD pid) {
    FindArgs a{caption, pid, nullptr};
    EnumWindows(FindVisible, LPARAM(&a));
    return a.found;
}

void NeedMain() {
    if (!g_main || !IsWindow(g_main)) Fail(L"no main window: use 'find <caption>' first (or the window is gone)");
}

HWND StatusBar() {
    NeedMain();
    HWND bar = FindWindowExW(g_main, nullptr, L"msctls_statusbar32", nullptr);
    if (!bar) Fail(L"the main window has no msctls_statusbar32 child");
    return bar;
}

HWND Control(const std::wstring& id) {
    if (id == L"status") return StatusBar();
    NeedMain();
    HWND c = GetDlgItem(g_main, int(std::wcstol(id.c_str(), nullptr, 0)));
    if (!c) Fail(L"the main window has no control " + id);
    return c;
}

std::wstring ControlText(const std::wstring& id) { return WindowText(Control(id)); }

int IdArg(const std::wstring& id) { return int(std::wcstol(id.c_str(), nullptr, 0)); }

// Enumeration callbacks are named functions, not lambdas: on 32-bit Windows
// they must be stdcall, which a lambda cannot be converted to.
BOOL CALLBACK FindChildById(HWND h, LPARAM p) {
    auto* l = reinterpret_cast<std::pair<int, HWND>*>(p);
    if (GetDlgCtrlID(h) != l->first) return TRUE;
    l->second = h;
    return FALSE;
}

BOOL CALLBACK CountByCaption(HWND h, LPARAM p);

// A control of a named window, also one inside a child dialog of it (the
// service view lies in the main window) when the window has none of its own.
HWND ControlIn(HWND w, int id) {
    if (HWND c = GetDlgItem(w, id)) return c;
    std::pair<int, HWND> look{id, nullptr};
    EnumChildWindows(w, FindChildById, LPARAM(&look));
    return look.second;
}

BOOL CALLBACK CountByCaption(HWND h, LPARAM p) {
    auto* l = reinterpret_cast<std::pair<std::wstring, int>*>(p);
    if (IsWindowVisible(h) && WindowText(h) == l->first) ++l->second;
    return TRUE;
}

DWORD MainThread() {
    NeedMain();
    return GetWindowThreadProcessId(g_main, nullptr);
}

HWND FocusedWindow() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(MainThread(), &info)) return nullptr;
    return info.hwndFocus;
}

struct BoxArgs {
    DWORD pid;
    std::wstring want;
    HWND box;
    std::wstring text;
    std::wstring seen;  // texts of boxes that did not match, for the failure message
};

BOOL CALLBACK CollectStatic(HWND w, LPARAM p) {
    std::wstring* text = reinterpret_cast<std::wstring*>(p);
    if (_wcsicmp(ClassOf(w).c_str(), L"Static") == 0) {
        std::wstring t = WindowText(w);
        if (!t.empty()) {
            if (!text->empty()) *text += L" ";
            *text += t;
        }
    }
    return TRUE;
}

BOOL CALLBACK FindBox(HWND w, LPARAM p) {
    BoxArgs* a = reinterpret_cast<BoxArgs*>(p);
    if (!IsWindowVisible(w) || ClassOf(w) != L"#32770") return TRUE;
    if (a->pid && PidOf(w) != a->pid) return TRUE;
    // The main window is a dialog too; a box never has a status bar.
    if (w == g_main || FindWindowExW(w, nullptr, L"msctls_statusbar32", nullptr)) return TRUE;
    std::wstring text;
    EnumChildWindows(w, CollectStatic, LPARAM(&text));
    if (text.find(a->want) != std::wstring::npos) {
        a->box = w;
        a->text = text;
        return FALSE;
    }
    if (!text.empty()) a->seen += L" [" + WindowText(w) + L": " + text + L"]";
    return TRUE;
}

// A message box of the program (any process while no main window is known).
void AnswerBox(const std::wstring& want, const std::wstring& button, double seconds) {
    int id = button == L"ok" ? IDOK : button == L"yes" ? IDYES : button == L"no" ? IDNO
           : button == L"cancel" ? IDCANCEL : 0;
    if (!id) Fail(L"msgbox button must be ok, yes, no or cancel, not " + button);
    BoxArgs a{g_pid, want, nullptr, L"", L""};
    bool found = WaitFor(seconds, [&] {
        a.seen.clear();
        EnumWindows(FindBox, LPARAM(&a));
        return a.box != nullptr;
    });
    if (!found)
        Fail(L"timeout waiting for a message box containing \"" + want + L"\"; boxes seen:" +
             (a.seen.empty() ? L" none" : a.seen));
    Out(Utf8(WindowText(a.box) + L": " + a.text));
    HWND b = GetDlgItem(a.box, id);
    if (!b) Fail(L"the message box \"" + a.text + L"\" has no " + button + L" button");
    PostMessageW(a.box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(b));
    WaitFor(5, [&] { return !IsWindow(a.box) || !IsWindowVisible(a.box); });
}

// Menus live in the program's own process under Wine; the query runs there.
MenuAnswer QueryMenu(int id) {
    NeedMain();
    MenuAnswer answer = {};
    std::wstring error;
    if (!RunMenuQuery(g_main, id, &answer, &error)) Fail(L"menu query failed: " + error);
    return answer;
}

UINT VirtualKey(const std::wstring& k) {
    if (k == L"tab") return VK_TAB;
    if (k == L"space") return VK_SPACE;
    if (k == L"enter") return VK_RETURN;
    if (k == L"escape") return VK_ESCAPE;
    if (k == L"f1") return VK_F1;
    if (k == L"down") return VK_DOWN;
    if (k == L"end") return VK_END;
    if (k == L"up") return VK_UP;
    UINT v = UINT(std::wcstoul(k.c_str(), nullptr, 0));
    if (!v) Fail(L"unknown key " + k);
    return v;
}

bool Enabled(HWND c) { return IsWindowEnabled(c) != FALSE; }

// The autocomplete drop-down of an edit: a borderless popup of the program
// holding the list ("Static" with a list box under Wine, "Auto-Suggest
// Dropdown" with a list view on Windows).
BOOL CALLBACK FindSuggestions(HWND w, LPARAM p) {
    auto* found = reinterpret_cast<HWND*>(p);
    if (!IsWindowVisible(w) || PidOf(w) != g_pid) return TRUE;
    const std::wstring cls = ClassOf(w);
    if (_wcsicmp(cls.c_str(), L"Static") != 0 && cls != L"Auto-Suggest Dropdown") return TRUE;
    HWND list = FindWindowExW(w, nullptr, L"ListBox", nullptr);
    if (!list) list = FindWindowExW(w, nullptr, L"SysListView32", nullptr);
    if (!list) return TRUE;
    *found = list;
    return FALSE;
}

// Characters as a keyboard in any layout would give them, one WM_CHAR each
// to the focused control, whatever its language.
void TypeText(const std::wstring& text) {
    HWND f = FocusedWindow();
    if (!f) Fail(L"no control has the focus to type into");
    for (wchar_t c : text) {
        PostMessageW(f, WM_CHAR, WPARAM(c), 1);
        Sleep(100);
    }
    Sleep(300);
}

// Rows of the program's visible autocomplete drop-down; 0 when none is shown.
LRESULT SuggestionRows() {
    if (!g_pid) Fail(L"no program process known: use 'find' first");
    HWND list = nullptr;
    EnumWindows(FindSuggestions, LPARAM(&list));
    if (!list) return 0;
    return ClassOf(list) == L"SysListView32" ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)
                                              : SendMessageW(list, LB_GETCOUNT, 0, 0);
}

// A block of the program's memory for messages whose parameter points at a
// structure and a text: only the system's own messages are carried between
// processes.
class RemoteBlock {
public:
    RemoteBlock(HWND owner, size_t size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, PidOf(owner));
        if (!process_) Fail(L"cannot open the program's process");
        at_ = static_cast<BYTE*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!at_) Fail(L"cannot allocate memory in the program's process");
    }
    ~RemoteBlock() {
        VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    BYTE* at(size_t offset = 0) const { return at_ + offset; }
    void Write(size_t offset, const void* data, size_t n) { WriteProcessMemory(process_, at_ + offset, data, n, nullptr); }
    void Read(size_t offset, void* data, size_t n) { ReadProcessMemory(process_, at_ + offset, data, n, nullptr); }

private:
    HANDLE process_;
    BYTE* at_;
    size_t size_;
};

// The text of the tooltip the program attached to a control, or empty.
std::wstring ToolTipText(HWND control) {
    HWND tip = HWND(GetPropW(control, L"OrlaToolTip"));
    if (!tip) Fail(L"the control has no tooltip");
    constexpr int kChars = 1024;
    RemoteBlock block(tip, sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t));
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = GetParent(control);
    tool.uId = UINT_PTR(control);
    tool.lpszText = reinterpret_cast<LPWSTR>(block.at(sizeof tool));
    wchar_t text[kChars] = {0};
    block.Write(0, &tool, sizeof tool);
    block.Write(sizeof tool, text, sizeof(wchar_t));
    SendMessageW(tip, TTM_GETTEXTW, kChars, LPARAM(block.at()));
    block.Read(sizeof tool, text, sizeof text - sizeof(wchar_t));
    return text;
}

// The dialog font of the program's windows, to measure their texts here.
int DialogTextWidth(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// "<open list's width> <widest item's text width>" of a drop-down list.
std::string ComboWidths(HWND combo) {
    int widest = 0;
    const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int k = 0; k < count; ++k) {
        wchar_t item[1024] = {0};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, k, 0) >= 1024) continue;
        SendMessageW(combo, CB_GETLBTEXT, k, LPARAM(item));
        widest = std::max(widest, DialogTextWidth(item));
    }
    return std::to_string(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0)) + " " + std::to_string(widest);
}

// "<column's width> <widest cell's text width>" of a list view's column,
// both as the list itself measures them.
std::string ColumnWidths(HWND list, int column) {
    constexpr int kChars = 1024;
    RemoteBlock block(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    const size_t textAt = sizeof(LVITEMW);
    int widest = 0;
    const int rows = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<LPWSTR>(block.at(textAt));
        item.cchTextMax = kChars;
        block.Write(0, &item, sizeof item);
        SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(r), LPARAM(block.at()));
        widest = std::max(widest, int(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, LPARAM(block.at(textAt)))));
    }
    return std::to_string(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)) + " " + std::to_string(widest);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> a(argv + 1, argv + argc);
    size_t i = 0;
    auto next = [&](const wchar_t* what) -> std::wstring {
        if (i >= a.size()) Fail(std::wstring(L"missing argument: ") + what);
        return a[i++];
    };
    auto optionalSeconds = [&](double fallback) {
        if (i < a.size() && !a[i].empty() && iswdigit(a[i][0])) return SecondsArg(a[i++]);
        return fallback;
    };
    // The first control with the id given next anywhere inside the window
    // whose caption is given first, child dialogs included.
    auto childControl = [&]() -> HWND {
        std::wstring caption = next(L"window caption"), id = next(L"id");
        HWND w = FindTop(caption, g_pid);
        if (!w) Fail(L"no visible window \"" + caption + L"\"");
        HWND control = ControlIn(w, IdArg(id));
        if (!control) Fail(L"window \"" + caption + L"\" has no control " + id);
        return control;
    };
    if (a.empty()) Fail(L"no command; see docs/testing.md");

    while (i < a.size()) {
        std::wstring cmd = a[i++];
        if (cmd == L"find") {
            std::wstring caption = next(L"caption");
            double t = optionalSeconds(10);
            HWND w = nullptr;
            if (!WaitFor(t, [&] { return (w = FindTop(caption, 0)) != nullptr; }))
                Fail(L"timeout waiting for a visible window \"" + caption + L"\"");
            g_main = w;
            g_pid = PidOf(w);
        } else if (cmd == L"shown") {
            std::wstring caption = next(L"caption");
            Out(FindTop(caption, g_pid) ? "1" : "0");
        } else if (cmd == L"text") {
            Out(Utf8(ControlText(next(L"id"))));
        } else if (cmd == L"wait-text") {
            std::wstring id = next(L"id"), want = next(L"substring");
            double t = SecondsArg(next(L"timeout"));
            std::wstring last;
            if (!WaitFor(t, [&] { return (last = ControlText(id)).find(want) != std::wstring::npos; }))
                Fail(L"timeout waiting for control " + id + L" to show \"" + want + L"\"; last text: \"" + last + L"\"");
            Out(Utf8(last));
        } else if (cmd == L"window-enabled") {
            // The found window itself: a window under a modal one is disabled.
            NeedMain();
            Out(IsWindowEnabled(g_main) ? "1" : "0");
        } else if (cmd == L"foreground") {
            Out(Utf8(WindowText(GetForegroundWindow())));
        } else if (cmd == L"enabled") {
            Out(Enabled(Control(next(L"id"))) ? "1" : "0");
        } else if (cmd == L"wait-enabled") {
            std::wstring id = next(L"id");
            bool want = next(L"0|1") == L"1";
            double t = SecondsArg(next(L"timeout"));
            HWND c = Control(id);
            if (!WaitFor(t, [&] { return Enabled(c) == want; }))
                Fail(L"timeout waiting for control " + id + L" to become " + (want ? L"enabled" : L"disabled") +
                     L"; last state: " + (Enabled(c) ? L"enabled" : L"disabled"));
        } else if (cmd == L"click") {
            std::wstring id = next(L"id");
            HWND c = Control(id);
            if (!Enabled(c)) Fail(L"cannot click control " + id + L": it is disabled");
            // Posted: the click may open a modal box that would block a send.
            PostMessageW(c, BM_CLICK, 0, 0);
            g_posted = GetTickCount();
            Sleep(200);
        } else if (cmd == L"menu") {
            // Chosen as the menu would choose it, without asking the menu
            // first: the query loads a DLL into the program, and under Wine
            // that now and then hangs a program still setting up OpenGL.
            // Tests that need the item's state ask menu-enabled or menu-has.
            std::wstring id = next(L"id");
            NeedMain();
            PostMessageW(g_main, WM_COMMAND, MAKEWPARAM(IdArg(id), 0), 0);
            g_posted = GetTickCount();
            Sleep(200);
        } else if (cmd == L"menu-enabled") {
            std::wstring id = next(L"id");
            MenuAnswer m = QueryMenu(IdArg(id));
            if (!m.present) Fail(L"the menu has no item " + id);
            Out(m.enabled ? "1" : "0");
        } else if (cmd == L"menu-has") {
            Out(QueryMenu(IdArg(next(L"id"))).present ? "1" : "0");
        } else if (cmd == L"menu-items") {
            // Command ids of the popup holding the item, in order (0 = separator).
            std::wstring id = next(L"id");
            MenuAnswer m = QueryMenu(IdArg(id));
            if (!m.present) Fail(L"the menu has no item " + id);
            std::string line;
            for (int k = 0; k < m.siblingCount; ++k) line += (k ? " " : "") + std::to_string(m.siblings[k]);
            Out(line);
        } else if (cmd == L"focus") {
            std::wstring id = next(L"id");
            HWND c = Control(id);
            DWORD self = GetCurrentThreadId(), target = MainThread();
            SetForegroundWindow(g_main);
            AttachThreadInput(self, target, TRUE);
            SetFocus(c);
            AttachThreadInput(self, target, FALSE);
            if (!WaitFor(2, [&] { return FocusedWindow() == c; })) Fail(L"could not put the focus on control " + id);
        } else if (cmd == L"focused") {
            HWND f = FocusedWindow();
            Out(f ? std::to_string(GetDlgCtrlID(f)) : "none");
        } else if (cmd == L"key") {
            std::wstring name = next(L"key");
            bool shifted = name.rfind(L"shift+", 0) == 0;
            UINT vk = VirtualKey(shifted ? name.substr(6) : name);
            HWND f = FocusedWindow();
            if (!f) {
                NeedMain();
                f = g_main;
            }
            // A posted key leaves the key state alone, so Shift is held in the
            // state the program's thread shares with this one while attached.
            DWORD self = GetCurrentThreadId(), target = GetWindowThreadProcessId(f, nullptr);
            BYTE state[256];
            if (shifted) {
                AttachThreadInput(self, target, TRUE);
                GetKeyboardState(state);
                BYTE held[256];
                std::memcpy(held, state, sizeof held);
                held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
                SetKeyboardState(held);
            }
            // Posted like a real key, so it goes through the program's own
            // message loop and accelerator table.
            UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
            PostMessageW(f, WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)));
            PostMessageW(f, WM_KEYUP, vk, LPARAM(1 | (scan << 16) | (3u << 30)));
            Sleep(300);
            if (shifted) {
                SetKeyboardState(state);
                AttachThreadInput(self, target, FALSE);
            }
        } else if (cmd == L"type") {
            TypeText(next(L"text"));
        } else if (cmd == L"suggestions") {
            Out(std::to_string(SuggestionRows()));
        } else if (cmd == L"list-count") {
            std::wstring caption = next(L"window caption"), id = next(L"id");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = ControlIn(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            std::wstring cls = ClassOf(c);
            LRESULT n = cls == L"SysListView32" ? SendMessageW(c, LVM_GETITEMCOUNT, 0, 0)
                      : _wcsicmp(cls.c_str(), L"ListBox") == 0 ? SendMessageW(c, LB_GETCOUNT, 0, 0)
                      : SendMessageW(c, CB_GETCOUNT, 0, 0);
            Out(std::to_string(n));
        } else if (cmd == L"list-selected") {
            // Index of the selected row of a list view, -1 when none.
            std::wstring caption = next(L"window caption"), id = next(L"id");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = GetDlgItem(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            Out(std::to_string(int(SendMessageW(c, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED))));
        } else if (cmd == L"wait-selected") {
            // Waits until the list view of the named window has this row
            // selected, pinging the main window meanwhile to see how long it
            // ever kept a message waiting. Prints the time since the last
            // click or menu command and that longest wait, in ms.
            std::wstring caption = next(L"window caption"), id = next(L"id");
            int want = int(std::wcstol(next(L"row").c_str(), nullptr, 0));
            double t = SecondsArg(next(L"timeout"));
            NeedMain();
            DWORD end = GetTickCount() + DWORD(t * 1000), longest = 0;
            for (;;) {
                HWND w = FindTop(caption, g_pid);
                HWND c = w ? GetDlgItem(w, IdArg(id)) : nullptr;
                if (c && int(SendMessageW(c, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)) == want) break;
                if (LONG(GetTickCount() - end) >= 0)
                    Fail(L"timeout waiting for row " + std::to_wstring(want) + L" of \"" + caption + L"\" to be selected");
                DWORD sent = GetTickCount();
                DWORD_PTR ignored = 0;
                SendMessageTimeoutW(g_main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
                DWORD took = GetTickCount() - sent;
                if (took > longest) longest = took;
                Sleep(20);
            }
            Out(std::to_string(GetTickCount() - g_posted) + " " + std::to_string(longest));
        } else if (cmd == L"child-text") {
            // Text of the first control with this id anywhere inside a window,
            // also inside child dialogs such as a details pane.
            Out(Utf8(WindowText(childControl())));
        } else if (cmd == L"child-readonly") {
            // 1 when the first edit control with this id anywhere inside a
            // window (a details pane's too) takes no typing, else 0.
            Out((GetWindowLongW(childControl(), GWL_STYLE) & ES_READONLY) ? "1" : "0");
        } else if (cmd == L"child-set-text") {
            // Replaces the text of the first control with this id anywhere
            // inside a window, as typing would leave it.
            HWND control = childControl();
            SendMessageW(control, WM_SETTEXT, 0, LPARAM(next(L"text").c_str()));
        } else if (cmd == L"count-windows") {
            // Visible top-level windows with exactly this caption, of any process.
            std::pair<std::wstring, int> look{next(L"caption"), 0};
            EnumWindows(CountByCaption, LPARAM(&look));
            Out(std::to_string(look.second));
        } else if (cmd == L"resize") {
            // Outer size of a named window, as a user dragging its frame.
            std::wstring caption = next(L"window caption");
            int width = int(std::wcstol(next(L"width").c_str(), nullptr, 0));
            int height = int(std::wcstol(next(L"height").c_str(), nullptr, 0));
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        } else if (cmd == L"list-key") {
            // A key pressed on a list view of a named window (moves its selection).
            std::wstring caption = next(L"window caption"), id = next(L"id");
            UINT vk = VirtualKey(next(L"key"));
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = GetDlgItem(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            PostMessageW(c, WM_KEYDOWN, vk, 1);
            PostMessageW(c, WM_KEYUP, vk, 0xC0000001);
            Sleep(300);
        } else if (cmd == L"child-visible") {
            // 1 when the first control with the id anywhere in a named window is
            // visible and lies wholly inside its parent's client area and the
            // window's client area (nothing of it cut off), else 0; then its
            // screen rectangle x y w h.
            std::wstring caption = next(L"window caption"), id = next(L"id");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND control = ControlIn(w, IdArg(id));
            if (!control) Fail(L"window \"" + caption + L"\" has no control " + id);
            auto inside = [](HWND area, const RECT& r) {
                RECT c;
                GetClientRect(area, &c);
                MapWindowPoints(area, nullptr, reinterpret_cast<POINT*>(&c), 2);
                return r.left >= c.left && r.top >= c.top && r.right <= c.right && r.bottom <= c.bottom;
            };
            RECT r;
            GetWindowRect(control, &r);
            bool shown = IsWindowVisible(control) && inside(GetParent(control), r) && inside(w, r);
            // The screen rectangle follows, so a test can look at its pixels.
            Out(std::string(shown ? "1" : "0") + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top));
        } else if (cmd == L"checked") {
            // Whether a check box of a named window (or of a child dialog in it) is ticked.
            std::wstring caption = next(L"window caption"), id = next(L"id");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = ControlIn(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            Out(SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0");
        } else if (cmd == L"click-in") {
            // BM_CLICK on a button of a named window other than the main one.
            std::wstring caption = next(L"window caption"), id = next(L"id");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = ControlIn(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            if (!IsWindowEnabled(c)) Fail(L"control " + id + L" of \"" + caption + L"\" is disabled");
            g_posted = GetTickCount();
            PostMessageW(c, BM_CLICK, 0, 0);
        } else if (cmd == L"list-rows") {
            // Every row of a list view in a named window, cells joined by '|'.
            // A list view's messages carry pointers that are not carried
            // between processes, so the request and its text buffer are made
            // in the program's memory.
            std::wstring caption = next(L"window caption"), id = next(L"id");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = ControlIn(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            HWND header = HWND(SendMessageW(c, LVM_GETHEADER, 0, 0));
            int columns = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
            int rows = int(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0));
            HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, PidOf(c));
            if (!process) Fail(L"cannot open the program's process");
            constexpr int kChars = 1024;
            BYTE* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t),
                                                              MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
            if (!remote) Fail(L"cannot allocate memory in the program's process");
            for (int r = 0; r < rows; ++r) {
                std::wstring line;
                for (int col = 0; col < columns; ++col) {
                    LVITEMW item = {};
                    item.iSubItem = col;
                    item.pszText = reinterpret_cast<LPWSTR>(remote + sizeof(LVITEMW));
                    item.cchTextMax = kChars;
                    wchar_t text[kChars] = {0};
                    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
                    WriteProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof(wchar_t), nullptr);
                    SendMessageW(c, LVM_GETITEMTEXTW, WPARAM(r), LPARAM(remote));
                    ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t), nullptr);
                    line += (col ? L"|" : L"") + std::wstring(text);
                }
                Out(Utf8(line));
            }
            VirtualFreeEx(process, remote, 0, MEM_RELEASE);
            CloseHandle(process);
        } else if (cmd == L"close-box") {
            // What a click on the close box of a named window sends.
            std::wstring caption = next(L"window caption");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
            Sleep(200);
        } else if (cmd == L"copy") {
            // Selects the whole text of a main-window field and copies it.
            HWND c = Control(next(L"id"));
            SendMessageW(c, EM_SETSEL, 0, -1);
            SendMessageW(c, WM_COPY, 0, 0);
        } else if (cmd == L"clipboard") {
            // The clipboard's CF_LOCALE (or none) and its text; fails without CF_TEXT.
            if (!WaitFor(3, [] { return OpenClipboard(nullptr) != FALSE; })) Fail(L"cannot open the clipboard");
            bool text = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
            std::string locale = "none";
            if (HANDLE h = GetClipboardData(CF_LOCALE)) {
                if (const DWORD* id = static_cast<const DWORD*>(GlobalLock(h))) {
                    char hex[16];
                    std::snprintf(hex, sizeof hex, "0x%04lX", static_cast<unsigned long>(*id));
                    locale = hex;
                    GlobalUnlock(h);
                }
            }
            std::wstring content;
            if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
                if (const wchar_t* t = static_cast<const wchar_t*>(GlobalLock(h))) {
                    content = t;
                    GlobalUnlock(h);
                }
            }
            CloseClipboard();
            if (!text) Fail(L"the clipboard holds no CF_TEXT");
            Out(locale + " " + Utf8(content));
        } else if (cmd == L"clipboard-bitmap") {
            // The clipboard's bitmap (CF_DIB, which Windows also makes of a
            // CF_BITMAP) saved as a .bmp file; prints its width and height,
            // fails when the clipboard holds no bitmap.
            std::wstring file = next(L"bmp file");
            if (!WaitFor(3, [] { return OpenClipboard(nullptr) != FALSE; })) Fail(L"cannot open the clipboard");
            HANDLE h = GetClipboardData(CF_DIB);
            const BITMAPINFOHEADER* dib = h ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(h)) : nullptr;
            if (!dib) {
                CloseClipboard();
                Fail(L"the clipboard holds no bitmap");
            }
            const SIZE_T size = GlobalSize(h);
            const DWORD colours = dib->biClrUsed ? dib->biClrUsed : dib->biBitCount <= 8 ? (1u << dib->biBitCount) : 0;
            const DWORD masks = dib->biCompression == BI_BITFIELDS && dib->biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
            BITMAPFILEHEADER head = {};
            head.bfType = 0x4D42;  // "BM"
            head.bfSize = DWORD(sizeof head + size);
            head.bfOffBits = DWORD(sizeof head + dib->biSize + masks + colours * sizeof(RGBQUAD));
            HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            const bool saved = out != INVALID_HANDLE_VALUE && WriteFile(out, &head, sizeof head, &written, nullptr) &&
                               WriteFile(out, dib, DWORD(size), &written, nullptr);
            if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
            const std::string line = std::to_string(dib->biWidth) + " " + std::to_string(std::labs(dib->biHeight));
            GlobalUnlock(h);
            CloseClipboard();
            if (!saved) Fail(L"cannot write " + file);
            Out(line);
        } else if (cmd == L"msgbox") {
            std::wstring want = next(L"expected text"), button = next(L"button");
            AnswerBox(want, button, SecondsArg(next(L"timeout")));
        } else if (cmd == L"no-msgbox") {
            // Fails when any message box of the program is open.
            BoxArgs b{g_pid, L"", nullptr, L"", L""};
            EnumWindows(FindBox, LPARAM(&b));
            if (b.box) Fail(L"unexpected message box \"" + WindowText(b.box) + L"\": " + b.text);
        } else if (cmd == L"rect") {
            NeedMain();
            RECT r;
            GetWindowRect(g_main, &r);
            Out(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
                " " + std::to_string(r.bottom - r.top));
        } else if (cmd == L"close") {
            NeedMain();
            PostMessageW(g_main, WM_CLOSE, 0, 0);
        } else if (cmd == L"wait-exit") {
            double t = SecondsArg(next(L"timeout"));
            if (!g_pid) Fail(L"no program process known: use 'find' first");
            HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, g_pid);
            if (p) {
                DWORD r = WaitForSingleObject(p, DWORD(t * 1000));
                CloseHandle(p);
                if (r != WAIT_OBJECT_0) Fail(L"timeout waiting for the program to exit");
            }
        } else if (cmd == L"watch-text") {
            // Every distinct text, sampled every 10 ms, until one holds the
            // stop substring: catches texts shown for a moment only.
            std::wstring id = next(L"id");
            double t = SecondsArg(next(L"timeout"));
            std::wstring stop = next(L"stop substring"), last = L"\x1";
            if (!WaitFor(t, [&] {
                    for (int k = 0; k < 10; ++k) {
                        std::wstring now = ControlText(id);
                        if (now != last) Out(Utf8(last = now));
                        if (now.find(stop) != std::wstring::npos) return true;
                        Sleep(10);
                    }
                    return false;
                }))
                Fail(L"timeout watching control " + id + L" for \"" + stop + L"\"; last text: \"" + last + L"\"");
        } else if (cmd == L"combo-select") {
            // Selects an item of a drop-down list as a click on it would
            // (CB_SETCURSEL, -1 for none); fails when the index is out of range.
            std::wstring id = next(L"id"), index = next(L"index");
            HWND c = Control(id);
            int want = int(std::wcstol(index.c_str(), nullptr, 0));
            if (int(SendMessageW(c, CB_SETCURSEL, WPARAM(want), 0)) != want)
                Fail(L"control " + id + L" has no item " + index);
        } else if (cmd == L"child-combo-select") {
            // The same for a drop-down list anywhere inside a window (a details
            // pane's), told to its parent as the user's choice would be; prints
            // the item's text.
            std::wstring caption = next(L"window caption"), id = next(L"id"), index = next(L"index");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = ControlIn(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            int want = int(std::wcstol(index.c_str(), nullptr, 0));
            if (int(SendMessageW(c, CB_SETCURSEL, WPARAM(want), 0)) != want)
                Fail(L"control " + id + L" has no item " + index);
            SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), CBN_SELCHANGE), LPARAM(c));
            Out(Utf8(WindowText(c)));
        } else if (cmd == L"tooltip" || cmd == L"combo-widths" || cmd == L"column-widths") {
            std::wstring caption = next(L"window caption"), id = next(L"id");
            HWND w = FindTop(caption, g_pid);
            if (!w) Fail(L"no visible window \"" + caption + L"\"");
            HWND c = ControlIn(w, IdArg(id));
            if (!c) Fail(L"window \"" + caption + L"\" has no control " + id);
            if (cmd == L"tooltip") Out(Utf8(ToolTipText(c)));
            else if (cmd == L"combo-widths") Out(ComboWidths(c));
            else Out(ColumnWidths(c, IdArg(next(L"column"))));
        } else if (cmd == L"combo-selected") {
            Out(std::to_string(int(SendMessageW(Control(next(L"id")), CB_GETCURSEL, 0, 0))));
        } else if (cmd == L"set-text" || cmd == L"set-text-timed") {
            // Replaces the control's text; "\n" in the argument stands for a
            // line break (CR LF), as Enter makes one in a multi-line field.
            // The timed form prints the milliseconds until the program had
            // done all it does on the change (the message is sent, not posted).
            const bool timed = cmd == L"set-text-timed";
            std::wstring id = next(L"id"), text = next(L"text"), real;
            for (size_t k = 0; k < text.size(); ++k) {
                if (text[k] == L'\\' && k + 1 < text.size() && text[k + 1] == L'n') {
                    real += L"\r\n";
                    ++k;
                } else {
                    real += text[k];
                }
            }
            HWND control = Control(id);
            LARGE_INTEGER start, end, frequency;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            SendMessageW(control, WM_SETTEXT, 0, LPARAM(real.c_str()));
            QueryPerformanceCounter(&end);
            if (timed) {
                char ms[32];
                std::snprintf(ms, sizeof ms, "%.1f", double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
                Out(ms);
            }
        } else if (cmd == L"click-control") {
            // A left click posted to the control itself, at its centre: a
            // label with SS_NOTIFY tells its window it was clicked.
            HWND c = Control(next(L"id"));
            RECT r;
            GetClientRect(c, &r);
            const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
            PostMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(c, WM_LBUTTONUP, 0, at);
            g_posted = GetTickCount();
            Sleep(200);
        } else if (cmd == L"lclick-on") {
            // A left click on the window itself at the centre of the control,
            // with the right button held when "rbutton" follows; for windows
            // that hit-test their labels themselves.
            std::wstring id = next(L"id");
            bool right = i < a.size() && a[i] == L"rbutton";
            if (right) ++i;
            HWND c = Control(id);
            RECT r;
            GetWindowRect(c, &r);
            POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            ScreenToClient(g_main, &p);
            WPARAM keys = MK_LBUTTON | (right ? MK_RBUTTON : 0);
            PostMessageW(g_main, WM_LBUTTONDOWN, keys, MAKELPARAM(p.x, p.y));
            PostMessageW(g_main, WM_LBUTTONUP, keys & ~WPARAM(MK_LBUTTON), MAKELPARAM(p.x, p.y));
            Sleep(200);
        } else if (cmd == L"sleep") {
            Sleep(DWORD(SecondsArg(next(L"seconds")) * 1000));
        } else {
            Fail(L"unknown command " + cmd + L"; see docs/testing.md");
        }
    }
    return 0;
}
