#pragma once
// Waits and clocks behind the platform seam.
#include <cstdint>
#include "platform/system_time.h"

// Waits and clocks. In the product these are Sleep, GetTickCount and
// GetLocalTime; the test fake runs a virtual clock that Wait advances, so a
// test of minutes of polling finishes at once.
namespace platform {
void Wait(uint32_t milliseconds);
uint32_t TickCount();
void LocalTime(SystemTime* out);
uint32_t CycleCounterLow();  // seed source for the form's filler bytes
// Sounds the speaker; returns after the given time, like a wait.
void Beep(uint32_t frequency, uint32_t milliseconds);
}
