#pragma once
// The main window: its dialog procedure and placement.
#include <windows.h>

#include "common/test_record.h"

// Dialog procedure of the main window, dialog 100.
INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window placement from the saved settings, and the layout after a resize.
void PlaceMainWindow(HWND window);
void LayOutMainWindow(HWND window, LPARAM size);
void LimitMainWindowTracking(MINMAXINFO* info);

// A new version of a series was archived elsewhere (the archive viewer): when
// it is the series the form holds, the form takes its texts, save those the
// user has typed since the form last matched the archive.
void FormFollowsAmendment(const TestRecord& amended);
