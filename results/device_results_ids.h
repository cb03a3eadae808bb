#pragma once
// Ids of the device-results viewer, dialog 800, shared by its resource
// script, its dialog procedure and the link worker that fills it.
#define IDD_DEVICE_RESULTS 800
#define IDC_DEVICE_RESULTS_LIST 701
#define IDC_DEVICE_RESULTS_PROGRESS 801
#define IDC_DEVICE_RESULTS_IMPORT 802  // "В архив"
