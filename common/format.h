#pragma once
// Display texts of numbers, voltages, times and dates.
#include <cstdint>

#include "platform/system_time.h"
#include "common/test_record.h"

// Display texts. Each writes a zero-terminated Windows-1251 text into out,
// which holds at least 256 bytes.
void FormatFixed(char* out, float value, int decimals, const char* unit);
void FormatWhole(char* out, float value);
void FormatVoltage(char* out, uint16_t voltageWord);
// A setting in tenths (rise rate, maximum voltage): whole values without a
// decimal, the others with one, so 2.5 kV/s never reads as 2.
void FormatTenths(char* out, unsigned tenths, const char* unit);
void FormatMeasurementValue(char* out, const TestRecord& record, int column);
void FormatRecordTime(char* out, const SystemTime& time);
void FormatTodayDate(char* out);
void FormatHex16(char* out, uint16_t value);
void MakeNumberedKey(char* out, const char* prefix, int n);
