// The device and program settings dialogs.
#include "app/win32/settings_dialogs.h"

namespace {
void NotYet(HWND owner, const char* what) { MessageBoxA(owner, what, "Внимание!", MB_OK | MB_ICONINFORMATION); }
}  // namespace

void ShowDeviceSettingsDialog(HWND owner) { NotYet(owner, "ShowDeviceSettingsDialog"); }
void ShowProgramSettingsDialog(HWND owner) { NotYet(owner, "ShowProgramSettingsDialog"); }
