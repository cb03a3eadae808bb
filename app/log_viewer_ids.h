#pragma once
// Ids of the LogViewer, dialog 900, shared by its resource script and code.
#define IDD_LOG_VIEWER 900
#define IDC_LOG_TEXT 901
