#pragma once
#include <windows.h>

// Dialog 400 "Настройка прибора" and dialog 500 "Настройка программы",
// modal with the main window as owner.
void ShowDeviceSettingsDialog(HWND owner);
void ShowProgramSettingsDialog(HWND owner);
