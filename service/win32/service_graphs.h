#pragma once
// The service view's two live graphs.
#include <windows.h>

// Registers ServiceGraphWndClass and starts the first graph thread; that
// thread makes graph 660 and starts the thread of graph 661. Called by the
// service view at the end of its initialisation.
void StartServiceGraphs(HWND serviceView);
