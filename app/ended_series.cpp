// The end of a series: judged, archived, shown; and following whether one is under way.
#include "app/ended_series.h"

#include <cstring>
#include <mutex>
#include <string>

#include "common/program_settings.h"
#include "app/number_check.h"
#include "app/resource_ids.h"
#include "verdict/series_verdict.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "app/unarchived_series.h"
#include "link/window_ops.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_suggestions.h"
#include "results/archive_versions.h"
#include "service/service_hooks.h"

namespace {
constexpr uint32_t kRunInPauseMs = 2000;
// Under g_currentRecordLock.
SystemTime g_endedTestTime{};
bool g_seriesEnded = false;
// The number field's text set for the next series, and the number the ended
// series is archived under (its newest version's); empty when no proposal stands.
std::string g_proposedNumber, g_archivedNumber;
// The ended series, to know its versions when they are appended.
TestRecord g_endedSeries;

std::string NumberOf(const TestRecord& record) {
    const char* text = record.protocolText[0];
    size_t n = 0;
    while (n < kProtocolTextSize && text[n]) ++n;
    return std::string(text, n);
}

bool IsEndedSeries(const TestRecord& record) {
    std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
    return g_seriesEnded && SameSeries(record, g_endedSeries);
}

// The ended series is in the archive under number. The next series usually
// gets the next number that no series holds; proposed while the field still
// shows that number or the proposal made before it, never over one the user
// typed for the next series.
void ProposeAfter(const std::string& number) {
    char text[kProtocolTextSize];
    ui::GetText(ui::Window::Main, IDC_FIRST_FIELD, text, sizeof text);
    const std::string shown = text;
    std::string before;
    {
        std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
        before = g_proposedNumber;
        g_archivedNumber = number;
    }
    if (shown != number && (before.empty() || before != shown)) return;
    const std::string next = NextFreeNumberAfter(number);
    {
        std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
        g_proposedNumber = next == number ? std::string() : next;
    }
    if (next != shown) ui::SetText(ui::Window::Main, IDC_FIRST_FIELD, next.c_str());
}
}  // namespace

void SeriesArchived(const TestRecord& record) {
    ArchivedTexts().Take(record);
    if (IsEndedSeries(record)) ProposeAfter(NumberOf(record));
}

void ArchivedVersionAppended(const TestRecord& record) {
    // A series itself is followed by SeriesArchived, once it is stored.
    if (record.marks.amendment == 0 || !IsEndedSeries(record)) return;
    {
        std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
        if (g_archivedNumber == NumberOf(record)) return;
    }
    ProposeAfter(NumberOf(record));
}

void KeepArchivedNumber(TestRecord* record) {
    std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
    char* number = record->protocolText[0];
    if (g_proposedNumber.empty() || g_proposedNumber != number) return;
    std::memcpy(number, g_archivedNumber.c_str(), g_archivedNumber.size() + 1);
}

void ForgetEndedSeries() {
    std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
    g_seriesEnded = false;
    g_endedTestTime = SystemTime{};
    g_proposedNumber.clear();
    g_archivedNumber.clear();
}

bool EndedSeriesTime(SystemTime* out) {
    std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
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
        std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
        g_currentRecord = record;
        g_endedTestTime = record.testTime;
        g_seriesEnded = true;
        g_proposedNumber.clear();
        g_archivedNumber.clear();
        g_endedSeries = record;
    }
    // A series log.dat cannot take is kept and tried again; the user has
    // been told, and it can still be printed under the number it was
    // measured with.
    ArchiveFinishedSeries(record);
    {
        std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
        g_currentRecord.crc = record.crc;
    }
    // After the archive: a series in the service log is then in log.dat
    // too (or kept for it), whenever the program is cut off.
    ServiceHistoryAddSeries(record);
    ShowVerdict(record);
    EnableProtocolOutput(true);
    if (g_programSettings.progonkaMode) {
        platform::Wait(kRunInPauseMs);
        g_deviceState.autoRestartPending = true;
    }
}
