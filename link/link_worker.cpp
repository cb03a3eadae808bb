// The link worker's loop: one command or poll, its answer, then the requests.
#include "link/link_worker.h"

#include <atomic>

#include "link/connection.h"
#include "link/device_state.h"
#include "link/driver_binding.h"
#include "link/file_transfer.h"
#include "link/frames.h"
#include "link/link_shell.h"
#include "link/link_worker_steps.h"
#include "link/parse_answer.h"
#include "link/senders.h"
#include "link/settings_exchange.h"
#include "link/thread_failure.h"
#include "platform/clock.h"
#include "platform/threads.h"
#include "platform/ui.h"

namespace {

std::atomic<uint32_t> g_workerThreadId{0};
unsigned g_pollIndex = 0;
bool g_resultsMenuInserted = false;

constexpr uint8_t kGen1Polls[4] = {command::kResults, command::kReadSettings, command::kResetInfo,
                                   command::kVersion};
constexpr uint8_t kGen2Polls[4] = {command::kResults, command::kReadSettings, command::kIdlePoll,
                                   command::kVersion};

uint8_t NextPoll() {
    ++g_pollIndex;
    if (g_deviceState.protocolGeneration == 2) {
        g_pollIndex = DeviceMeasuring() ? 0 : g_pollIndex & 3;
        return kGen2Polls[g_pollIndex];
    }
    g_pollIndex &= DeviceMeasuring() ? 1 : 3;
    return kGen1Polls[g_pollIndex];
}

void ReadAndParse() {
    g_rxCount = ReadAnswer(g_rxBuffer);
    if (g_rxCount != 0) ParseAnswer(g_rxBuffer, g_rxCount);
}

// The worker sends nothing else until a transfer ends, so a ПУСК pressed
// meanwhile would start a series long after: the button is greyed instead.
void RunTransfer(void (*transfer)()) {
    TheLinkShell().enableStart(false);
    transfer();
    TheLinkShell().enableStart(!DeviceMeasuring());
}

void ServeRequests() {
    DeviceState& s = g_deviceState;
    if (s.settingsChangeRequest) {
        if (DeviceMeasuring()) {
            s.settingsChangeRequest = false;
            ui::PostMessageBox(ui::Window::Main, "Настройки прибора не изменены.", "Ошибка!", ui::kIconError);
        } else {
            // A request made while this one is served stays raised and is
            // served next, rather than cleared with this one unseen.
            uint32_t served = 0;
            TakeDesiredSettings(&served);
            platform::Wait(300);
            SettingsChangeOutcome outcome = ChangeDeviceSettingsChecked();
            platform::Wait(300);
            SettingsRequestServed(served);
            // The dialog closed on OK; a change that did not reach the
            // instrument must not pass for done.
            if (outcome == SettingsChangeOutcome::Unchanged)
                ui::PostMessageBox(ui::Window::Main, "Настройки прибора не изменены.", "Ошибка!", ui::kIconError);
            else if (outcome == SettingsChangeOutcome::Partly)
                ui::PostMessageBox(ui::Window::Main, "Настройки прибора изменены не полностью.", "Ошибка!",
                               ui::kIconError);
        }
    }
    if (s.storedResultsRequest && s.protocolGeneration == 2) RunTransfer(TransferStoredResults);
    if (s.deviceLogRequest) {
        RunTransfer(ReadDeviceLog);
        s.deviceLogRequest = false;
    }
    if (s.eraseLogRequest) {
        platform::Wait(100);
        SendCommand(command::kEraseLog);
        platform::Wait(100);
        s.eraseLogRequest = false;
        ReadAndParse();
    }
}

}  // namespace

bool LinkWorkerStartup() {
    DriverLoad load = LoadDriver();
    if (load != DriverLoad::Ok) {
        TheLinkShell().driverMissing(load == DriverLoad::MissingFunction);
        return false;
    }
    ConnectDevice();
    if (g_deviceState.protocolGeneration == 2 && !g_resultsMenuInserted) {
        TheLinkShell().offerDeviceResults();
        g_resultsMenuInserted = true;
    }
    return true;
}

bool LinkWorkerIteration() {
    uint8_t posted = 0;
    switch (platform::TakeCommand(&posted)) {
        case platform::TakeResult::Quit:
            return false;
        case platform::TakeResult::Command:
            SendCommand(posted);
            break;
        case platform::TakeResult::Nothing:
            SendCommand(NextPoll());
            break;
    }
    platform::Wait(100);
    ReadAndParse();
    ServeRequests();
    return true;
}

void LinkWorkerThread(void*) {
    if (!LinkWorkerStartup()) return;
    while (LinkWorkerIteration()) {
    }
}

void ResetLinkWorker() {
    g_workerThreadId = 0;
    g_pollIndex = 0;
    g_resultsMenuInserted = false;
    ResetConnection();
}

void StartLinkWorker() {
    uint32_t id = 0;
    if (!platform::StartThread(LinkWorkerThread, nullptr, true, &id)) ThreadStartFailed();
    g_workerThreadId = id;
}

uint32_t LinkWorkerThreadId() { return g_workerThreadId; }

void PostWorkerCommand(uint8_t command) { platform::PostCommand(g_workerThreadId, command); }
