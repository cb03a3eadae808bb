#pragma once
// Ids of the dialog "Утверждение протокола" (dialog 1210), shared by its resource script and code.
#define IDD_APPROVAL 1210
// What is approved: the series, its version and its conclusion.
#define IDC_APPROVAL_SERIES 1211
#define IDC_APPROVAL_VERSION 1212
#define IDC_APPROVAL_CONCLUSION 1213
// Who approves: the position and the name, proposed from the settings.
#define IDC_APPROVAL_POSITION 1214
#define IDC_APPROVAL_NAME 1215
#define IDC_APPROVAL_LABEL 1216
