#pragma once
// The window that shows the instrument's own log file.
#include <windows.h>

// The LogViewer, dialog 900, modal. SetLogViewerText reaches it while it is
// open; closing it clears deviceLogRequest and forgets its handle, so a late
// text goes nowhere.
void ShowLogViewer(HWND owner);
