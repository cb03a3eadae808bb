// The end of a series: judged, archived, shown; and following whether one is under way.
#include "link/end_of_series.h"

#include <mutex>

#include "app/program_settings.h"
#include "app/resource_ids.h"
#include "app/series_verdict.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/window_ops.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "service/service_hooks.h"

namespace {
constexpr uint32_t kRunInPauseMs = 2000;
// Under g_currentRecordLock.
SystemTime g_endedTestTime{};
bool g_seriesEnded = false;
}  // namespace

bool EndedSeriesTime(SystemTime* out) {
    std::lock_guard<std::mutex> guard(g_currentRecordLock);
    *out = g_endedTestTime;
    return g_seriesEnded;
}

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
    g_deviceState.seriesUnderWay = false;
    g_deviceState.linkLostInSeries = false;
    // Work on a copy: the history and the archive may talk to windows, and
    // the record lock must never be held across a window call.
    TestRecord record = g_currentRecord;
    // Judged once, here: the record keeps what was concluded when it ended.
    // First, as the block still holds the previous series' decision.
    record.verdict = JudgeFinishedSeries(record);
    for (int k = 0; k < kProtocolTextCount; ++k)
        ui::GetText(ui::Window::Main, IDC_FIRST_FIELD + k, record.protocolText[k], kProtocolTextSize);
    {
        std::lock_guard<std::mutex> guard(g_currentRecordLock);
        g_currentRecord = record;
        g_endedTestTime = record.testTime;
        g_seriesEnded = true;
    }
    // A failed append has already been reported by the archive; the finished
    // series can still be printed.
    ArchiveAppend(record);
    {
        std::lock_guard<std::mutex> guard(g_currentRecordLock);
        g_currentRecord.crc = record.crc;
    }
    // After the archive: a series in the service log is then always in
    // log.dat too, whenever the program is cut off.
    ServiceHistoryAddSeries(record);
    ShowVerdict(record);
    EnableProtocolOutput(true);
    if (g_programSettings.progonkaMode) {
        platform::Wait(kRunInPauseMs);
        g_deviceState.autoRestartPending = true;
    }
}
