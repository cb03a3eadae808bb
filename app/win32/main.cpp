// The program's entry: one copy only, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/win32/main_window.h"
#include "app/link_shell_install.h"
#include "app/resource_ids.h"
#include "app/room_contracts.h"
#include "app/win32/form_autocomplete.h"
#include "app/win32/shell_handles.h"
#include "app/win32/viewer_contracts.h"
#include "app/window_rules.h"
#include "app/journal_hooks.h"
#include "journal/journal_events.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_registry.h"

namespace {
constexpr wchar_t kSingleInstanceMutex[] = L"Local\\ORLA-K200V.running";
constexpr wchar_t kMainCaption[] = L"ОРЛА-К200В";
constexpr wchar_t kDialogClass[] = L"#32770";

// One program owns the instrument, the archive and the settings file: a
// second start shows the first one's window and ends.
bool AnotherCopyRuns() {
    CreateMutexW(nullptr, FALSE, kSingleInstanceMutex);
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    if (HWND running = FindWindowW(kDialogClass, kMainCaption)) {
        if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
    }
    return true;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (AnotherCopyRuns()) return 0;
    // The program settings dialog holds a rich-edit control; without the
    // library that dialog just does not open. Version 2, as the older one
    // takes texts only in the system's code page.
    HMODULE richEdit = LoadLibraryW(L"Riched20.dll");
    // The archive viewer's date range needs the date picker class, which the
    // plain InitCommonControls does not register on Windows.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    if (!InitCommonControlsEx(&classes)) InitCommonControls();
    g_instance = instance;
    InstallRoomContracts();
    InstallViewerContracts();
    // Apartment-threaded, as Windows' autocomplete of the form's fields needs
    // it; without COM the fields are plain edits and nothing else changes.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    // Before the main window starts the link worker: its first series is
    // journaled.
    InstallLinkShell();
    InstallJournalHooks();

    HWND main = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    if (!main) {
        if (com) CoUninitialize();
        if (richEdit) FreeLibrary(richEdit);
        return 0;
    }
    ShowWindow(main, SW_SHOW);

    // No IsDialogMessage: Tab and Space are accelerators of the main window
    // (Space only where it would press a button).
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        wchar_t className[32] = L"";
        if (keyDown) GetClassNameW(msg.hwnd, className, 32);
        if ((!keyDown || KeyGoesToAccelerators(static_cast<unsigned>(msg.wParam), platform::Narrow(className).c_str())) &&
            TranslateAcceleratorW(main, accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    RegisterWindow(ui::Window::Main, nullptr);
    RegisterStatusBar(nullptr);
    DestroyWindow(main);
    // A line posted in the writer's last moments still reaches the register.
    JournalWriteQueued();
    ReleaseFormAutocomplete();
    if (com) CoUninitialize();
    if (richEdit) FreeLibrary(richEdit);
    return 0;
}
