// The end of a series: judged, archived, shown; and following whether one is under way.
#include "link/end_of_series.h"

#include <cstring>
#include <mutex>
#include <string>

#include "app/program_settings.h"
#include "app/protocol_number.h"
#include "app/resource_ids.h"
#include "app/series_verdict.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/window_ops.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_suggestions.h"
#include "service/service_hooks.h"

namespace {
constexpr uint32_t kRunInPauseMs = 2000;
// Under g_currentRecordLock.
SystemTime g_endedTestTime{};
bool g_seriesEnded = false;
// The number field's text set for the next series, and the number the ended
// series was archived under; empty when no proposal stands.
std::string g_proposedNumber, g_archivedNumber;

// The next series usually gets the next number; proposed only while the
// field still holds the number just archived, never over one the user typed.
void ProposeNextNumber(const char* archived) {
    char shown[kProtocolTextSize];
    ui::GetText(ui::Window::Main, IDC_FIRST_FIELD, shown, sizeof shown);
    const std::string next = NextProtocolNumber(archived);
    if (std::strcmp(shown, archived) != 0 || next == archived) return;
    {
        std::lock_guard<std::mutex> guard(g_currentRecordLock);
        g_proposedNumber = next;
        g_archivedNumber = archived;
    }
    ui::SetText(ui::Window::Main, IDC_FIRST_FIELD, next.c_str());
}
}  // namespace

void KeepArchivedNumber(TestRecord* record) {
    std::lock_guard<std::mutex> guard(g_currentRecordLock);
    char* number = record->protocolText[0];
    if (g_proposedNumber.empty() || g_proposedNumber != number) return;
    std::memcpy(number, g_archivedNumber.c_str(), g_archivedNumber.size() + 1);
}

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
        g_proposedNumber.clear();
    }
    // A failed append has already been reported by the archive; the finished
    // series can still be printed, under the number it was measured with.
    const bool archived = ArchiveAppend(record);
    {
        std::lock_guard<std::mutex> guard(g_currentRecordLock);
        g_currentRecord.crc = record.crc;
    }
    if (archived) {
        ArchivedTexts().Take(record);
        ProposeNextNumber(record.protocolText[0]);
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
