#pragma once
#include <windows.h>

// Dialog procedure of the main window, dialog 100.
INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window placement from the saved settings, and the layout after a resize.
void PlaceMainWindow(HWND window);
void LayOutMainWindow(HWND window, LPARAM size);
void LimitMainWindowTracking(MINMAXINFO* info);
