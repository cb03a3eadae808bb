// Edit fields that mark copied text as Russian for other programs.
#include "common/win32/clipboard_aware.h"

#include <cstring>

namespace {

constexpr DWORD kRussianLocale = 0x0019;

// Every edit field has the system's edit procedure, so one variable serves
// all subclassed fields.
WNDPROC g_editProcedure = nullptr;

void AddRussianLocale(HWND field) {
    if (!OpenClipboard(field)) return;
    if (IsClipboardFormatAvailable(CF_TEXT)) {
        if (HGLOBAL memory = GlobalAlloc(GMEM_FIXED, sizeof(DWORD))) {
            *static_cast<DWORD*>(memory) = kRussianLocale;  // fixed memory: the handle is the pointer
            if (!SetClipboardData(CF_LOCALE, memory)) GlobalFree(memory);
        }
    }
    CloseClipboard();
}

LRESULT CALLBACK ClipboardAwareProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COPY:
            CallWindowProcW(g_editProcedure, window, message, wParam, lParam);
            AddRussianLocale(window);
            return 0;
        case WM_DESTROY:
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProcedure));
            break;
        default: break;
    }
    return CallWindowProcW(g_editProcedure, window, message, wParam, lParam);
}

}  // namespace

void MakeClipboardAware(HWND window) {
    wchar_t className[257];
    if (!GetClassNameW(window, className, 257)) return;
    if (lstrcmpiW(className, L"edit") != 0) return;
    LONG_PTR current = GetWindowLongPtrW(window, GWLP_WNDPROC);
    // Applied twice to one field, the field would end up calling itself.
    if (current == reinterpret_cast<LONG_PTR>(&ClipboardAwareProcedure)) return;
    g_editProcedure = reinterpret_cast<WNDPROC>(current);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClipboardAwareProcedure));
}
