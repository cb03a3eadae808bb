#pragma once
// The five test parameters of a series as the windows, the export and the database give them.
#include "common/device_settings.h"
#include "common/test_record.h"

// Shown for every parameter of a series whose settings are not known.
constexpr char kNoParameterData[] = "нет данных";

// A series taken from the instrument's memory has no settings: the
// instrument keeps none with a result, and its snapshot is left zero, which
// must not read as measured with 0 кВ/с. Such records have always carried
// the origin mark, so it tells them apart in every archive.
inline bool RecordHasSettings(const TestRecord& record) {
    return (record.marks.origin & origin_bits::kFromInstrumentMemory) == 0;
}

// In the order of the windows' fields 133..137.
enum TestParameter { kParameterCount, kParameterPause, kParameterDelay, kParameterRate, kParameterMaximum };
constexpr int kTestParameterCount = 5;
// The room the shared formatters write into.
constexpr int kParameterTextSize = 256;

struct TestParameterTexts {
    char text[kTestParameterCount][kParameterTextSize];
};

// "6", "5 мин.", "есть", "2 кВ/с", "100 кВ".
void FormatTestParameters(const DeviceSettings& settings, TestParameterTexts* out);
// The same for an archived series, or "нет данных" in each when it has no settings.
void FormatRecordParameters(const TestRecord& record, TestParameterTexts* out);
