// The link's way into the LogViewer window.
#include "app/log_viewer.h"

#include "app/log_viewer_ids.h"
#include "platform/ui.h"

void SetLogViewerText(const char* text) { ui::SetText(ui::Window::LogViewer, IDC_LOG_TEXT, text); }
