// Mean, RMS error and coefficient of variation of a series.
#include "results/statistics.h"

#include <cmath>
#include <cstring>

void ComputeSeriesStatistics(TestRecord& record) {
    const int n = StoredValueCount(record);
    if (n == 0) {
        record.meanVoltage = 0;
        record.rmsError = 0;
        record.variationPercent = 0;
        return;
    }
    int32_t x[kVoltageSlots];
    int64_t sum = 0;
    for (int i = 0; i < n; ++i) {
        x[i] = record.breakdownVoltage[i] & kVoltageMask;
        sum += x[i];
    }
    const int32_t mean = static_cast<int32_t>(static_cast<double>(sum) / n + 0.5);
    record.meanVoltage = static_cast<uint16_t>(mean);
    if (n == 1) {
        record.rmsError = 0;
        record.variationPercent = 0;
        return;
    }
    // Squares about the rounded mean, exactly as the instrument's figures are
    // defined: not the exact quotient.
    uint64_t squares = 0;
    for (int i = 0; i < n; ++i) {
        const int32_t d = mean - x[i];
        squares += static_cast<uint64_t>(static_cast<int64_t>(d * d));
    }
    if (record.settingsSnapshot.pauseAndFlags & settings_bits::kErrorOfMean) squares /= static_cast<uint64_t>(n);
    const uint64_t q = squares / static_cast<uint64_t>(n - 1);
    const uint32_t rms = static_cast<uint32_t>(std::sqrt(static_cast<double>(q) + 0.5));
    record.rmsError = static_cast<uint16_t>(rms);
    record.variationPercent =
        mean > 1 ? static_cast<uint16_t>(static_cast<double>(rms) * 100.0 / mean + 0.5) : 0;
}

void ComputeHeadStatistics(RecordHead& head, bool errorOfMean) {
    TestRecord scratch{};
    scratch.settingsSnapshot.pauseAndFlags =
        settings_bits::kAltMethod | (errorOfMean ? settings_bits::kErrorOfMean : 0);
    std::memcpy(&scratch, head.bytes, sizeof head.bytes);
    ComputeSeriesStatistics(scratch);
    std::memcpy(head.bytes, &scratch, sizeof head.bytes);
}
