#pragma once
// What the main window shows of the link: status bar, protocol output, test
// parameters and the results line. Each a synchronous call; from another
// thread the user-interface thread carries it out while the caller waits.
#include "common/device_settings.h"
#include "common/test_record.h"

// Replaces the status bar's text (link state or the running series).
void SetStatusText(const char* text);
// Button 172 and menu items 172, 201: enabled, or disabled and grayed.
void EnableProtocolOutput(bool enabled);
// Fields 133..137 of the main window show these settings.
void ShowTestParameters(const DeviceSettings& settings);
// The status bar line "Проведено измерений N: values  Среднее: mean".
void ShowResultsLine(const TestRecord& record);
