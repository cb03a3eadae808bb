// Fuzzes the worker loop: an instrument of either generation whose every
// answer comes from the fuzz input, cut into several reads, with the user's
// requests (settings change, stored results, log, erase) raised on the way.
#include "tests/fuzz/fuzz_support.h"

namespace {
const char* const kDescriptions[] = {"ORLA-T10", "ORLA-K200", "ORLA-K200V", "ORLA-K200V2"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz::ResetLinkWorld();
    testdrv::Plug(kDescriptions[in.ConsumeIntegralInRange<int>(0, 3)], "FT123456");
    g_programSettings.serviceMode = in.ConsumeBool();
    fuzz::AnswerWritesFrom(in);
    if (!LinkWorkerStartup()) return 0;
    for (int i = 0; i < 200 && in.remaining_bytes() > 0; ++i) {
        switch (in.ConsumeIntegralInRange<int>(0, 15)) {
        case 0: g_deviceState.settingsChangeRequest = true; break;
        case 1: g_deviceState.storedResultsRequest = true; break;
        case 2: g_deviceState.deviceLogRequest = true; break;
        case 3: g_deviceState.eraseLogRequest = true; break;
        case 4: fake::PostToWorker(in.ConsumeIntegral<uint8_t>()); break;
        case 5:
            testdrv::Unplug();
            // Same serial: the link waits for its own instrument only.
            fuzz::g_replugSerial = "FT123456";
            fuzz::g_replugAt = fake::Now() + in.ConsumeIntegralInRange<uint32_t>(1, 30000);
            break;
        default: break;
        }
        if (!LinkWorkerIteration()) break;
        fake::ClearUiCalls();
    }
    return 0;
}
