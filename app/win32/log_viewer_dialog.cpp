// The window that shows the instrument's log.log while the link reads it.
#include "app/win32/log_viewer_dialog.h"

void ShowLogViewer(HWND) {}
