#pragma once
// The date and time as the record stores them (the layout of SYSTEMTIME).
#include <cstddef>
#include <cstdint>

// Same field order and widths as the Windows SYSTEMTIME, because the record
// that carries it is written to the archive byte for byte.
struct SystemTime {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
static_assert(sizeof(SystemTime) == 16, "SYSTEMTIME layout");
static_assert(offsetof(SystemTime, wDay) == 6, "SYSTEMTIME layout");
static_assert(offsetof(SystemTime, wMilliseconds) == 14, "SYSTEMTIME layout");
