#pragma once
#include <cstdint>

#include "link/device_settings.h"
#include "platform/ui.h"
#include "results/test_record.h"

// Turns one read from the instrument into DeviceState and the current record.
void ParseAnswer(const uint8_t* buffer, uint32_t count);

// Main-window operations shared by the link and the shell.
void SetStatusText(const char* text);
// Button 172 and menu items 172, 201: enabled, or disabled and grayed.
void EnableProtocolOutput(bool enabled);
void ShowTestParameters(const DeviceSettings& settings);
// The same five texts (controls 133..137) in another window, such as the
// archive viewer's details pane.
void ShowTestParametersIn(ui::Window window, const DeviceSettings& settings);
void ShowResultsLine(const TestRecord& record);
