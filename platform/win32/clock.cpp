// Waits and clocks on Windows.
#include "platform/clock.h"

#include <windows.h>
#include <intrin.h>

namespace platform {

void Wait(uint32_t milliseconds) { Sleep(milliseconds); }

uint32_t TickCount() { return GetTickCount(); }

void LocalTime(SystemTime* out) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    static_assert(sizeof(SYSTEMTIME) == sizeof(SystemTime), "same layout as SYSTEMTIME");
    out->wYear = now.wYear;
    out->wMonth = now.wMonth;
    out->wDayOfWeek = now.wDayOfWeek;
    out->wDay = now.wDay;
    out->wHour = now.wHour;
    out->wMinute = now.wMinute;
    out->wSecond = now.wSecond;
    out->wMilliseconds = now.wMilliseconds;
}

uint32_t CycleCounterLow() { return static_cast<uint32_t>(__rdtsc()); }

void Beep(uint32_t frequency, uint32_t milliseconds) { ::Beep(frequency, milliseconds); }

}  // namespace platform
