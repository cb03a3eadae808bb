// The exported D2XX names. The model starts on the first call, from
// ORLA_SIM_CONFIG, on the system tick count.
#include <windows.h>

#include <mutex>

#include "sim/sim.h"
#include "sim/sim_d2xx.h"

namespace {

uint32_t TickClock() { return GetTickCount(); }

void EnsureStarted() {
    static std::once_flag once;
    std::call_once(once, [] {
        SimSetClock(TickClock);
        SimReset(SimConfigFromEnvironment());
    });
}

}  // namespace

#define SIM_EXPORT(name, params, args)        \
    extern "C" FT_STATUS ORLA_WINAPI name params { \
        EnsureStarted();                      \
        return Sim_##name args;               \
    }
SIM_FT_FUNCTIONS(SIM_EXPORT)
#undef SIM_EXPORT
