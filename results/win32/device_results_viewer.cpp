// The viewer of results stored in the instrument.
#include "results/win32/device_results_viewer.h"

void ShowDeviceResultsWindow(HWND owner) {
    MessageBoxA(owner, "ShowDeviceResultsWindow", "Внимание!", MB_OK | MB_ICONINFORMATION);
}
