#include "sim/sim_clock.h"

#include <chrono>

#include "sim/sim.h"

namespace {

uint32_t SteadyMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t (*g_clock)() = SteadyMs;
bool g_started = false;
uint32_t g_lastRaw = 0;
// Starts well above zero so that "never" (-1) and "not yet" stay distinct.
int64_t g_now = 1000000;

}  // namespace

void SimSetClock(uint32_t (*now)()) {
    g_clock = now ? now : SteadyMs;
    if (g_started) g_lastRaw = g_clock();
}

int64_t SimClockNow() {
    uint32_t raw = g_clock();
    if (!g_started) {
        g_started = true;
        g_lastRaw = raw;
    }
    g_now += uint32_t(raw - g_lastRaw);
    g_lastRaw = raw;
    return g_now;
}
