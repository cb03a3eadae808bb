// The test-cell picture window 173 beside the main window's test parameters.
#pragma once
#include <windows.h>

// Registers OrlaStatusImageWndClass and starts the picture thread, which
// makes window 173 beside the test parameters of the main window.
void StartStatusPicture(HWND mainWindow);

// Where window 173 lies (or will lie) in the main window's client area:
// right of the test parameters' group box, at the screen's DPI.
RECT StatusPicturePlace(HWND mainWindow);
