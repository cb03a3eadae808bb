// The main window's part of the link's contract: status bar, protocol output, test parameters, results line.
#include <cstdio>
#include <cstring>

#include "common/format.h"
#include "app/main_window_ops.h"
#include "app/resource_ids.h"
#include "link/device_state.h"
#include "verdict/series_verdict.h"
#include "platform/ui.h"
#include "results/parameter_fields.h"
#include "results/test_parameters.h"

namespace {
constexpr int kMeanColumn = 7;
}  // namespace

void SetStatusText(const char* text) { ui::SetText(ui::Window::Main, ui::kStatusBar, text); }

void EnableProtocolOutput(bool enabled) {
    // The print button and the menu item "Печать протокола" share their id.
    ui::Enable(ui::Window::Main, IDC_PRINT, enabled);
    ui::EnableMenuItem(ui::Window::Main, IDC_PRINT, enabled);
    ui::EnableMenuItem(ui::Window::Main, CMD_SAVE_PROTOCOL, enabled);
}

void ShowTestParameters(const DeviceSettings& settings) {
    TestParameterTexts texts;
    FormatTestParameters(settings, &texts);
    ShowParameterTextsIn(ui::Window::Main, texts);
    ShowMethodLine(settings);
}

void ShowResultsLine(const TestRecord& record) {
    // Room for the heading, six values and the mean.
    char line[512];
    char part[256];
    FormatWhole(part, record.valueCount);
    std::snprintf(line, sizeof line, "Проведено измерений %s:", part);

    int shown = record.valueCount;
    if (record.valueCount != record.seriesLength && g_deviceState.protocolGeneration != 2 &&
        !(g_deviceState.status & status_bits::kProboy))
        ++shown;  // the voltage now rising, reported in the next free slot
    if (shown > kVoltageSlots) shown = kVoltageSlots;

    for (int i = 0; i < shown; ++i) {
        FormatMeasurementValue(part, record, i);
        std::strncat(line, " ", sizeof line - std::strlen(line) - 1);
        std::strncat(line, part, sizeof line - std::strlen(line) - 1);
    }
    if (record.valueCount != 0) {
        FormatMeasurementValue(part, record, kMeanColumn);
        std::strncat(line, "  Среднее: ", sizeof line - std::strlen(line) - 1);
        std::strncat(line, part, sizeof line - std::strlen(line) - 1);
    }
    SetStatusText(line);
}
