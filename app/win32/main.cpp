// The program's entry: one copy only, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/win32/main_window.h"
#include "app/resource_ids.h"
#include "app/win32/form_autocomplete.h"
#include "app/win32/shell_handles.h"
#include "app/win32/window_rules.h"
#include "platform/win32/window_registry.h"

namespace {
constexpr char kSingleInstanceMutex[] = "Local\\ORLA-K200V.running";
constexpr char kMainCaption[] = "ОРЛА-К200В";
constexpr char kDialogClass[] = "#32770";

// One program owns the instrument, the archive and the settings file: a
// second start shows the first one's window and ends.
bool AnotherCopyRuns() {
    CreateMutexA(nullptr, FALSE, kSingleInstanceMutex);
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    if (HWND running = FindWindowA(kDialogClass, kMainCaption)) {
        if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
    }
    return true;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (AnotherCopyRuns()) return 0;
    // The program settings dialog holds a rich-edit control; without the
    // library that dialog just does not open.
    HMODULE richEdit = LoadLibraryA("Riched32.dll");
    // The archive viewer's date range needs the date picker class, which the
    // plain InitCommonControls does not register on Windows.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    if (!InitCommonControlsEx(&classes)) InitCommonControls();
    g_instance = instance;
    // Apartment-threaded, as Windows' autocomplete of the form's fields needs
    // it; without COM the fields are plain edits and nothing else changes.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));

    HWND main = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
    if (!main) {
        if (com) CoUninitialize();
        if (richEdit) FreeLibrary(richEdit);
        return 0;
    }
    ShowWindow(main, SW_SHOW);

    // No IsDialogMessage: Tab and Space are accelerators of the main window
    // (Space only where it would press a button).
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        char className[32] = "";
        if (keyDown) GetClassNameA(msg.hwnd, className, sizeof className);
        if ((!keyDown || KeyGoesToAccelerators(static_cast<unsigned>(msg.wParam), className)) &&
            TranslateAcceleratorA(main, accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    RegisterWindow(ui::Window::Main, nullptr);
    RegisterStatusBar(nullptr);
    DestroyWindow(main);
    ReleaseFormAutocomplete();
    if (com) CoUninitialize();
    if (richEdit) FreeLibrary(richEdit);
    return 0;
}
