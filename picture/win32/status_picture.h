#pragma once
#include <windows.h>

// Registers OrlaStatusImageWndClass and starts the picture thread, which
// makes window 173 beside the test parameters of the main window.
void StartStatusPicture(HWND mainWindow);
