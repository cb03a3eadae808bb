#pragma once
// Monotonic milliseconds for the model, widened from the 32-bit clock given by
// SimSetClock so that a wrapping tick count does not turn time backwards.
#include <cstdint>

int64_t SimClockNow();
