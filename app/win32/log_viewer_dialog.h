#pragma once
#include <windows.h>

// The LogViewer, dialog 900, modal; closing it clears deviceLogRequest.
void ShowLogViewer(HWND owner);
