// Transfer benchmark: times the stored-result and log.log transfers and the
// idle poll pace against the simulated instrument on the virtual clock, so
// the figures are the link's own waits, the same on every machine.
#include <cstdio>
#include <fstream>
#include <string>

#include "link/connection.h"
#include "link/device_state.h"
#include "link/file_transfer.h"
#include "link/link_worker_steps.h"
#include "platform/fake/fake_platform.h"
#include "results/stored_results.h"
#include "sim/sim.h"

namespace {

constexpr int kStoredResults = 1000;
constexpr int kLatencyMs = 5;
constexpr uint32_t kLogBytes = 64 * 1024;
constexpr int kIdleIterations = 600;

SimConfig Instrument() {
    SimConfig c;
    c.description = "ORLA-K200V2";
    c.storedResults = kStoredResults;
    c.answerLatencyMs = kLatencyMs;
    return c;
}

void Start(const SimConfig& config) {
    fake::Reset();
    ResetDeviceState();
    ResetLinkWorker();
    SimSetClock(&fake::Now);
    SimReset(config);
    fake::SetDriverLibrary("ftd2xx.dll", [](const char* name) { return SimLookupFunction(name); });
    if (!LinkWorkerStartup()) {
        std::fprintf(stderr, "the simulated instrument did not open\n");
        std::exit(1);
    }
}

size_t Writes() {
    size_t n = 0;
    for (const auto& e : SimJournal()) n += e.write ? 1 : 0;
    return n;
}

struct Run {
    double seconds;
    size_t requests;
};

Run StoredResults(AnswerWait mode) {
    Start(Instrument());
    SetAnswerWait(mode);
    size_t before = Writes();
    uint32_t start = fake::Now();
    g_deviceState.storedResultsRequest = true;
    TransferStoredResults();
    return Run{(fake::Now() - start) / 1000.0, Writes() - before};
}

Run DeviceLog(AnswerWait mode, const std::string& path) {
    SimConfig config = Instrument();
    config.deviceLog = path;
    Start(config);
    SetAnswerWait(mode);
    size_t before = Writes();
    uint32_t start = fake::Now();
    g_deviceState.deviceLogRequest = true;
    ReadDeviceLog();
    return Run{(fake::Now() - start) / 1000.0, Writes() - before};
}

void Print(const char* what, const Run& fixed, const Run& queued) {
    std::printf("%-34s fixed waits %8.2f s (%zu requests)   until queued %7.2f s (%zu requests)   x%.1f\n", what,
                fixed.seconds, fixed.requests, queued.seconds, queued.requests, fixed.seconds / queued.seconds);
}

}  // namespace

int main() {
    std::printf("Simulated generation-2 instrument, answers start %d ms after each command; virtual clock.\n",
                kLatencyMs);
    char label[64];
    std::snprintf(label, sizeof label, "%d stored results:", kStoredResults);
    Print(label, StoredResults(AnswerWait::Fixed), StoredResults(AnswerWait::UntilQueued));

    std::string path = "bench_transfer_log.txt";
    std::ofstream(path, std::ios::binary) << std::string(kLogBytes, 'L');
    std::snprintf(label, sizeof label, "log.log of %u KiB:", kLogBytes / 1024);
    Print(label, DeviceLog(AnswerWait::Fixed, path), DeviceLog(AnswerWait::UntilQueued, path));
    std::remove(path.c_str());

    Start(Instrument());
    size_t before = Writes();
    uint32_t start = fake::Now();
    for (int i = 0; i < kIdleIterations; ++i) LinkWorkerIteration();
    double seconds = (fake::Now() - start) / 1000.0;
    size_t commands = Writes() - before;
    std::printf("Idle polling: %zu commands in %.1f s, one per %.0f ms\n", commands, seconds,
                seconds * 1000.0 / double(commands));
    SimSetClock(nullptr);
    return 0;
}
