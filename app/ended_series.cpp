// The ended series in the application: its form texts, the archive, the next protocol number proposed.
#include "app/ended_series.h"

#include <cstring>
#include <mutex>
#include <string>

#include "app/number_check.h"
#include "app/resource_ids.h"
#include "link/current_record.h"
#include "app/unarchived_series.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_suggestions.h"
#include "results/archive_versions.h"

namespace {
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

void TakeFormTexts(TestRecord* record) {
    for (int k = 0; k < kProtocolTextCount; ++k)
        ui::GetText(ui::Window::Main, IDC_FIRST_FIELD + k, record->protocolText[k], kProtocolTextSize);
}

void ArchiveEndedSeries(TestRecord& record) {
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
}
