// Display texts of numbers, voltages, times and dates.
#include "common/format.h"

#include <cstdio>

#include "platform/clock.h"

namespace {
constexpr size_t kOut = 256;

const char* const kGenitiveMonths[12] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                         "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
}  // namespace

void FormatFixed(char* out, float value, int decimals, const char* unit) {
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;
    char conversion[] = "%.1f %s";
    conversion[2] = static_cast<char>('0' + decimals);
    std::snprintf(out, kOut, conversion, static_cast<double>(value), unit);
}

void FormatWhole(char* out, float value) { FormatFixed(out, value, 0, ""); }

void FormatTenths(char* out, unsigned tenths, const char* unit) {
    if (tenths % 10 == 0)
        std::snprintf(out, kOut, "%u %s", tenths / 10, unit);
    else
        std::snprintf(out, kOut, "%u.%u %s", tenths / 10, tenths % 10, unit);
}

void FormatVoltage(char* out, uint16_t word) {
    if (word & kNoBreakdownBit)
        std::snprintf(out, kOut, ">%.0f кВ", (word & kVoltageMask) / 10.0);
    else
        std::snprintf(out, kOut, "%.1f кВ", word / 10.0);
}

void FormatMeasurementValue(char* out, const TestRecord& record, int column) {
    if (column >= 0 && column < kVoltageSlots) {
        FormatVoltage(out, record.breakdownVoltage[column]);
    } else if (column == 6) {
        FormatVoltage(out, record.meanVoltage);
    } else if (record.meanVoltage & kNoBreakdownBit) {
        // The bound voltage shown as a flagged word of that value would be.
        std::snprintf(out, kOut, ">%.0f кВ", record.boundVoltage / 10.0);
    } else {
        FormatVoltage(out, record.meanVoltage);
    }
}

void FormatRecordTime(char* out, const SystemTime& time) {
    SystemTime now{};
    platform::LocalTime(&now);
    if (time.wDay == now.wDay && time.wMonth == now.wMonth)
        std::snprintf(out, kOut, "%u:%02d", static_cast<unsigned>(time.wHour), static_cast<int>(time.wMinute));
    else
        std::snprintf(out, kOut, "%u:%02d %u.%u.%u", static_cast<unsigned>(time.wHour),
                      static_cast<int>(time.wMinute), static_cast<unsigned>(time.wDay),
                      static_cast<unsigned>(time.wMonth), static_cast<unsigned>(time.wYear));
}

void FormatTodayDate(char* out) {
    SystemTime now{};
    platform::LocalTime(&now);
    const char* month = now.wMonth >= 1 && now.wMonth <= 12 ? kGenitiveMonths[now.wMonth - 1] : "";
    std::snprintf(out, kOut, "%u %s %u г.", static_cast<unsigned>(now.wDay), month,
                  static_cast<unsigned>(now.wYear));
}

void FormatHex16(char* out, uint16_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < 4; ++i) out[i] = kDigits[(value >> (12 - 4 * i)) & 0xF];
    out[4] = 'h';
    out[5] = 0;
}

void MakeNumberedKey(char* out, const char* prefix, int n) { std::snprintf(out, kOut, "%s%d", prefix, n); }
