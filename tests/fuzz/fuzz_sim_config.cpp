// Fuzzes the simulator's configuration: an arbitrary ORLA_SIM_CONFIG file
// read into a configuration, then the instrument started from it and polled
// for a while on a virtual clock, so every value read is also used.
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/d2xx.h"
#include "sim/sim.h"
#include "tests/fuzz/fuzz_support.h"

namespace {
uint32_t g_now = 0;
uint32_t Now() { return g_now; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    uint8_t polls = in.ConsumeIntegral<uint8_t>();
    std::string text = in.ConsumeRemainingBytesAsString();
    static const std::string path = "/tmp/orla_fuzz_sim_" + std::to_string(getpid()) + ".ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    SimConfig config;
    SimLoadConfigFile(path.c_str(), &config);
    // Files the configuration names are not to be read or written here.
    config.journalPath.clear();
    if (config.deviceLog != "none") config.deviceLog.clear();
    if (config.storedResults > 2000) config.storedResults = 2000;

    g_now = 0;
    SimSetClock(&Now);
    SimReset(config);
    auto openEx = reinterpret_cast<FtOpenExFn>(SimLookupFunction("FT_OpenEx"));
    auto write = reinterpret_cast<FtWriteFn>(SimLookupFunction("FT_Write"));
    auto read = reinterpret_cast<FtReadFn>(SimLookupFunction("FT_Read"));
    auto status = reinterpret_cast<FtGetStatusFn>(SimLookupFunction("FT_GetStatus"));
    auto close = reinterpret_cast<FtCloseFn>(SimLookupFunction("FT_Close"));
    FT_HANDLE h = nullptr;
    std::string description = config.description;
    if (openEx(const_cast<char*>(description.c_str()), FT_OPEN_BY_DESCRIPTION, &h) != FT_OK) return 0;
    const uint8_t commands[] = {0x02, 0x13, 0x20, 0x01, 0x42, 0x20, 0x11, 0x08};
    for (int i = 0; i < polls % 64; ++i) {
        uint8_t frame[8] = {commands[i % 8], 8, 0, 0, 0, 0, 0, 0};
        FT_DWORD n = 0;
        write(h, frame, config.description == "ORLA-K200V2" ? 8 : 1, &n);
        g_now += 1000u + 7919u * i;
        FT_DWORD rx = 0, tx = 0, ev = 0;
        status(h, &rx, &tx, &ev);
        uint8_t buffer[512];
        read(h, buffer, sizeof buffer, &n);
    }
    close(h);
    SimSetClock(nullptr);
    return 0;
}
