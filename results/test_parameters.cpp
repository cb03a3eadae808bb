// The five test parameters of a series as text, "нет данных" where none were kept.
#include "results/test_parameters.h"

#include <cstdio>

#include "common/format.h"

void FormatTestParameters(const DeviceSettings& settings, TestParameterTexts* out) {
    std::snprintf(out->text[kParameterCount], kParameterTextSize, "%d", MeasurementCount(settings));
    FormatFixed(out->text[kParameterPause], static_cast<float>(PauseMinutes(settings)), 0, "мин.");
    std::snprintf(out->text[kParameterDelay], kParameterTextSize, "%s", PreTestDelay(settings) ? "есть" : "нет");
    FormatTenths(out->text[kParameterRate], settings.riseRate, "кВ/с");
    FormatTenths(out->text[kParameterMaximum], settings.maxVoltage, "кВ");
}

void FormatRecordParameters(const TestRecord& record, TestParameterTexts* out) {
    if (RecordHasSettings(record)) {
        FormatTestParameters(record.settingsSnapshot, out);
        return;
    }
    for (auto& text : out->text) std::snprintf(text, kParameterTextSize, "%s", kNoParameterData);
}
