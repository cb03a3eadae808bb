// Which window handle stands behind each logical window, and who owns their boxes.
#pragma once
#include <windows.h>

#include "platform/ui.h"

// The program's module instance, set once by WinMain before any window
// exists; every window and dialog of the program loads its template from it.
extern HINSTANCE g_instance;

// Which HWND stands behind each logical window of ui.h. A window registers
// itself when it is created and registers nullptr when it is destroyed; the
// core's window calls then find it gone and do nothing.
void RegisterWindow(ui::Window window, HWND handle);
HWND WindowHandle(ui::Window window);

// The window that owns a box or a common dialog meant for owner: the archive
// viewer, modal over the main window, while it is open, since a closing
// dialog re-enables its owner; nullptr when owner is not open.
HWND DialogOwner(ui::Window owner);

// The main window's status bar is control id 0, which GetDlgItem cannot find
// reliably, so its handle is kept here.
void RegisterStatusBar(HWND handle);
HWND StatusBarHandle();

// ui::PostMessageBox posts this to the main window, whose procedure hands the
// lParam to ShowPostedMessageBox, which shows the box and frees the lParam.
constexpr UINT kPostedMessageBox = WM_APP + 0x51;
void ShowPostedMessageBox(LPARAM posted);
