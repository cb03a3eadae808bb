// The viewer of results stored in the instrument (dialog 800).
#pragma once
#include <windows.h>

// Dialog 800, modeless with the main window as owner; the caller then asks
// the link for the stored results. Closing it stops that transfer through
// the viewer shell (results/viewer_shell.h).
void ShowDeviceResultsWindow(HWND owner);
