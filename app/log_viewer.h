#pragma once
// The text of the open LogViewer window (field 901), set from the link
// worker while it reads the instrument's log.log. Does nothing when no
// LogViewer is open.
void SetLogViewerText(const char* text);
