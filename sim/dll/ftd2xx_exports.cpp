// The exported D2XX names. The model starts on the first call, from
// ORLA_SIM_CONFIG, on the system tick count.
#include <windows.h>

#include <atomic>
#include <mutex>

#include "platform/threads.h"
#include "sim/sim.h"
#include "sim/sim_d2xx.h"

namespace {

uint32_t TickClock() { return GetTickCount(); }

// The 32-bit build's runtime has no std::call_once.
platform::Mutex g_startLock;
std::atomic<bool> g_started{false};

void EnsureStarted() {
    if (g_started.load(std::memory_order_acquire)) return;
    std::lock_guard<platform::Mutex> guard(g_startLock);
    if (g_started.load(std::memory_order_relaxed)) return;
    SimSetClock(TickClock);
    SimReset(SimConfigFromEnvironment());
    g_started.store(true, std::memory_order_release);
}

}  // namespace

#define SIM_EXPORT(name, params, args)        \
    extern "C" FT_STATUS ORLA_WINAPI name params { \
        EnsureStarted();                      \
        return Sim_##name args;               \
    }
SIM_FT_FUNCTIONS(SIM_EXPORT)
#undef SIM_EXPORT
