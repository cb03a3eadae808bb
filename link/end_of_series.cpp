// The end of a series: judged, handed to the shell to archive and show; and following whether one is under way.
#include "link/end_of_series.h"

#include "common/program_settings.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/link_shell.h"
#include "platform/clock.h"
#include "verdict/series_verdict.h"

namespace {
constexpr uint32_t kRunInPauseMs = 2000;
}  // namespace

bool SeriesEndedUnseen(bool measuring, uint8_t valueCount) {
    const DeviceState& s = g_deviceState;
    return s.seriesUnderWay && s.linkLostInSeries && !measuring && valueCount != 0;
}

void FollowSeries(bool measuring) {
    DeviceState& s = g_deviceState;
    // The last series' verdict must not stand beside the next one's values.
    if (measuring) ClearVerdict();
    s.seriesUnderWay = measuring;
    if (!measuring) s.linkLostInSeries = false;
}

void EndOfSeries() {
    const LinkShell& shell = TheLinkShell();
    g_deviceState.seriesUnderWay = false;
    g_deviceState.linkLostInSeries = false;
    // Work on a copy: the history and the archive may talk to windows, and
    // the record lock must never be held across a window call.
    TestRecord record = g_currentRecord;
    // Judged once, here: the record keeps what was concluded when it ended.
    // First, as the block still holds the previous series' decision.
    record.verdict = JudgeFinishedSeries(record);
    shell.takeFormTexts(&record);
    shell.archiveEndedSeries(record);
    // After the archive: a series in the service log is then in log.dat
    // too (or kept for it), whenever the program is cut off.
    shell.serviceHistoryAddSeries(record);
    ShowVerdict(record);
    shell.enableProtocolOutput(true);
    if (g_programSettings.progonkaMode) {
        platform::Wait(kRunInPauseMs);
        g_deviceState.autoRestartPending = true;
    }
}
