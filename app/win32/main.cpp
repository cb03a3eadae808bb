#include <windows.h>
#include <commctrl.h>

#include "app/win32/main_window.h"
#include "app/resource_ids.h"
#include "app/win32/shell_handles.h"
#include "platform/win32/window_registry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The program settings dialog holds a rich-edit control; without the
    // library that dialog just does not open.
    HMODULE richEdit = LoadLibraryA("Riched32.dll");
    InitCommonControls();
    g_instance = instance;
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));

    HWND main = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
    if (!main) {
        if (richEdit) FreeLibrary(richEdit);
        return 0;
    }
    ShowWindow(main, SW_SHOW);

    // No IsDialogMessage: Tab and Space are accelerators of the main window.
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(main, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    RegisterWindow(ui::Window::Main, nullptr);
    RegisterStatusBar(nullptr);
    DestroyWindow(main);
    if (richEdit) FreeLibrary(richEdit);
    return 0;
}
