#pragma once
#include <windows.h>

#include "platform/ui.h"

// Which HWND stands behind each logical window of ui.h. A window registers
// itself when it is created and registers nullptr when it is destroyed; the
// core's window calls then find it gone and do nothing.
void RegisterWindow(ui::Window window, HWND handle);
HWND WindowHandle(ui::Window window);

// The main window's status bar is control id 0, which GetDlgItem cannot find
// reliably, so its handle is kept here.
void RegisterStatusBar(HWND handle);
HWND StatusBarHandle();
