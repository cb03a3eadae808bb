// The table of results fetched from the instrument and their list.
#include "results/stored_results.h"

#include <cstdio>
#include <cstring>

#include "app/format.h"
#include "platform/ui.h"
#include "results/device_results_ids.h"
#include "results/statistics.h"

StoredResultEntry g_storedResults[kStoredResultSlots];

void ClearStoredResults() { std::memset(g_storedResults, 0, sizeof g_storedResults); }

namespace {

constexpr int kColumnCount = 6;
constexpr size_t kCell = 256;
constexpr uint32_t kSecondsPerDay = 86400;
constexpr uint32_t kSecondsPerHour = 3600;

// Only the list uses it; kept out of the worker's stack, as the current
// record is, because it is 3416 bytes.
TestRecord g_scratch;

// The entry's voltages and settings in the scratch record, with the
// statistics the instrument would show for them.
void LoadScratch(const StoredResultEntry& entry) {
    static_assert(sizeof g_scratch.breakdownVoltage == sizeof entry.voltage, "six voltage words each");
    std::memcpy(g_scratch.breakdownVoltage, entry.voltage, sizeof entry.voltage);
    // The count is kept as sent; the statistics and the voltage texts read
    // no more than the six slots there are.
    g_scratch.valueCount = entry.count;
    g_scratch.seriesLength = entry.count;
    g_scratch.boundVoltage = entry.boundVoltage;
    g_scratch.settingsSnapshot.pauseAndFlags = entry.errorOfMean ? settings_bits::kErrorOfMean : 0;
    ComputeSeriesStatistics(g_scratch);
}

void RowCells(const StoredResultEntry& entry, char (*cells)[kCell]) {
    LoadScratch(entry);
    // The instrument stores universal time and its own hour offset; the sum
    // wraps like the instrument's 32-bit clock does.
    const uint32_t local = entry.timeStamp + static_cast<uint32_t>(static_cast<int32_t>(entry.hourOffset) *
                                                                   static_cast<int32_t>(kSecondsPerHour));
    const CalendarTime when = SecondsToCalendar(local);
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
}

}  // namespace

void FillStoredResultsList(uint32_t highest) {
    const ui::Window viewer = ui::Window::DeviceResults;
    if (!ui::Exists(viewer)) return;
    ui::ShowControl(viewer, IDC_DEVICE_RESULTS_LIST, false);
    // The index is 16 bits on the wire; a larger one must not run past the table.
    const uint32_t last = highest < kStoredResultSlots ? highest : kStoredResultSlots - 1;
    char cells[kColumnCount][kCell];
    const char* row[kColumnCount];
    for (int c = 0; c < kColumnCount; ++c) row[c] = cells[c];
    for (uint32_t index = 0; index <= last; ++index) {
        const StoredResultEntry& entry = g_storedResults[index];
        if (entry.timeStamp == 0) continue;
        RowCells(entry, cells);
        // The viewer closed while it was being filled: nothing more to list.
        if (ui::ListAddRow(viewer, IDC_DEVICE_RESULTS_LIST, row, kColumnCount) < 0) return;
    }
    ui::ShowControl(viewer, IDC_DEVICE_RESULTS_LIST, true);
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
