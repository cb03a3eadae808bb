#pragma once
// What the link does to windows, each a synchronous call that the
// user-interface thread carries out while the caller waits.
#include "common/device_settings.h"
#include "platform/ui.h"
#include "common/test_record.h"

// Replaces the status bar's text (link state or the running series).
void SetStatusText(const char* text);
// Button 172 and menu items 172, 201: enabled, or disabled and grayed.
void EnableProtocolOutput(bool enabled);
// Fields 133..137 of the main window show these settings.
void ShowTestParameters(const DeviceSettings& settings);
// The same five texts (controls 133..137) in another window, such as the
// archive viewer's details pane.
void ShowTestParametersIn(ui::Window window, const DeviceSettings& settings);
// Fields 133..137 of a window take these texts as they are.
struct TestParameterTexts;
void ShowParameterTextsIn(ui::Window window, const TestParameterTexts& texts);
// The status bar line "Проведено измерений N: values  Среднее: mean".
void ShowResultsLine(const TestRecord& record);
