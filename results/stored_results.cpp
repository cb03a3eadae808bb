// The table of results fetched from the instrument and their list.
#include "results/stored_results.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "common/format.h"
#include "platform/ui.h"
#include "results/archive_import.h"
#include "results/device_results_ids.h"
#include "results/statistics.h"

StoredResultEntry g_storedResults[kStoredResultSlots];

void ClearStoredResults() { std::memset(g_storedResults, 0, sizeof g_storedResults); }

namespace {

constexpr int kColumnCount = 7;
constexpr size_t kCell = 256;
constexpr uint32_t kSecondsPerDay = 86400;
constexpr uint32_t kSecondsPerHour = 3600;

// Only the list uses it; kept out of the worker's stack, as the current
// record is, because it is 3416 bytes.
TestRecord g_scratch;
// The table index of each row listed, and the last index the list covers.
std::vector<uint32_t> g_rows;
uint32_t g_highest = 0;

// The entry as the archive would take it, with the statistics the
// instrument would show for it.
void LoadScratch(const StoredResultEntry& entry) { StoredResultRecord(entry, &g_scratch); }

void RowCells(const StoredResultEntry& entry, const ArchivedMatch& archived, char (*cells)[kCell]) {
    LoadScratch(entry);
    // The instrument stores universal time and its own hour offset.
    const CalendarTime when = SecondsToCalendar(StoredLocalSeconds(entry));
    std::snprintf(cells[0], kCell, "%u.%u.%u", when.day, when.month, when.year);
    std::snprintf(cells[1], kCell, "%u:%02d", when.hour, static_cast<int>(when.minute));
    cells[2][0] = 0;
    const int count = StoredValueCount(g_scratch);
    for (int i = 0; i < count; ++i) {
        char value[kCell];
        FormatMeasurementValue(value, g_scratch, i);
        const size_t used = std::strlen(cells[2]);
        std::snprintf(cells[2] + used, kCell - used, " %s", value);
    }
    std::snprintf(cells[3], kCell, "%.1f кВ", g_scratch.meanVoltage / 10.0);
    std::snprintf(cells[4], kCell, "%.1f кВ", g_scratch.rmsError / 10.0);
    std::snprintf(cells[5], kCell, "%.1f %%", static_cast<double>(g_scratch.variationPercent));
    ArchivedCellText(archived, cells[6], kCell);
}

// Which rows the archive holds, by one reading of log.dat for all of them.
// Unreadable, it is taken to hold none; "В архив" checks again anyway.
std::vector<ArchivedMatch> ArchivedMatches(const std::vector<uint32_t>& rows) {
    std::vector<const StoredResultEntry*> entries;
    for (uint32_t index : rows) entries.push_back(&g_storedResults[index]);
    std::vector<ArchivedMatch> found(rows.size() + 1, ArchivedMatch{});
    FindArchived(entries.data(), entries.size(), found.data());
    return found;
}

}  // namespace

void FillStoredResultsList(uint32_t highest) {
    const ui::Window viewer = ui::Window::DeviceResults;
    if (!ui::Exists(viewer)) return;
    ui::ShowControl(viewer, IDC_DEVICE_RESULTS_LIST, false);
    // The index is 16 bits on the wire; a larger one must not run past the table.
    const uint32_t last = highest < kStoredResultSlots ? highest : kStoredResultSlots - 1;
    g_highest = last;
    g_rows.clear();
    for (uint32_t index = 0; index <= last; ++index)
        if (g_storedResults[index].timeStamp != 0) g_rows.push_back(index);
    const std::vector<ArchivedMatch> archived = ArchivedMatches(g_rows);
    char cells[kColumnCount][kCell];
    const char* row[kColumnCount];
    for (int c = 0; c < kColumnCount; ++c) row[c] = cells[c];
    for (size_t i = 0; i < g_rows.size(); ++i) {
        RowCells(g_storedResults[g_rows[i]], archived[i], cells);
        // The viewer closed while it was being filled: nothing more to list.
        if (ui::ListAddRow(viewer, IDC_DEVICE_RESULTS_LIST, row, kColumnCount) < 0) return;
    }
    ui::ShowControl(viewer, IDC_DEVICE_RESULTS_LIST, true);
}

void ImportStoredRows(const int* rows, size_t count, char* summary, size_t size) {
    std::vector<const StoredResultEntry*> entries;
    for (size_t i = 0; i < count; ++i)
        if (rows[i] >= 0 && static_cast<size_t>(rows[i]) < g_rows.size())
            entries.push_back(&g_storedResults[g_rows[rows[i]]]);
    const ImportCounts counts = ImportStoredResults(entries.data(), entries.size());
    summary[0] = 0;
    // A failed append has told the user already; with nothing added there is no more to say.
    if (!counts.failed || counts.added > 0) ImportSummaryText(counts, summary, size);
    ui::ListClear(ui::Window::DeviceResults, IDC_DEVICE_RESULTS_LIST);
    FillStoredResultsList(g_highest);
}

CalendarTime SecondsToCalendar(uint32_t t) {
    CalendarTime out{};
    const uint32_t rem = t % kSecondsPerDay;
    out.hour = rem / kSecondsPerHour;
    out.minute = rem % kSecondsPerHour / 60;
    out.second = rem % 60;
    // Days counted from 0000-03-01, so the leap day ends a year; 49710 days
    // at most, far inside 32 bits.
    const uint32_t z = t / kSecondsPerDay + 719468;
    const uint32_t era = z / 146097;
    const uint32_t dayOfEra = z - era * 146097;
    const uint32_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const uint32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const uint32_t marchMonth = (5 * dayOfYear + 2) / 153;
    out.day = dayOfYear - (153 * marchMonth + 2) / 5 + 1;
    out.month = marchMonth < 10 ? marchMonth + 3 : marchMonth - 9;
    out.year = yearOfEra + era * 400 + (out.month <= 2 ? 1 : 0);
    return out;
}
