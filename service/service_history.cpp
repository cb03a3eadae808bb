// The service history: ring, histogram, list rows and the .sdat file.
#include "service/service_history.h"

#include <cstdio>
#include <cstring>

#include "common/format.h"
#include "common/program_settings.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "results/statistics.h"
#include "service/service_view_ids.h"

ServiceHistory g_serviceHistory;

namespace {

constexpr int kListColumns = 12;
constexpr int kMeanColumn = 6;
constexpr int kRmsColumn = 7;
constexpr int kVariationColumn = 8;
constexpr int kResetCauseColumn = 9;
constexpr int kResetCountColumn = 10;
constexpr int kTimeColumn = 11;
constexpr int kCellSize = 256;

bool ViewShown() { return g_programSettings.serviceMode; }

void ShowSeriesCounter() {
    if (!ViewShown()) return;
    const ServiceHistory& h = g_serviceHistory;
    char text[64];
    std::snprintf(text, sizeof text, "%u(%u)", static_cast<unsigned>(h.seriesCount - h.loadedCount),
                  static_cast<unsigned>(h.seriesCount.load()));
    ui::SetText(ui::Window::ServiceView, IDC_SERVICE_SERIES_COUNT, text);
}

void ListSeries(const RecordHead& head) {
    TestRecord record{};
    std::memcpy(&record, head.bytes, sizeof head.bytes);
    char cells[kListColumns][kCellSize] = {};
    // A damaged head may claim up to 255 values; mod 7 keeps the count within
    // the six voltage columns.
    const int shown = record.valueCount % (kVoltageSlots + 1);
    for (int column = 0; column < shown; ++column) FormatMeasurementValue(cells[column], record, column);
    FormatVoltage(cells[kMeanColumn], record.meanVoltage);
    FormatVoltage(cells[kRmsColumn], record.rmsError);
    std::snprintf(cells[kVariationColumn], kCellSize, "%u%%", static_cast<unsigned>(record.variationPercent));
    FormatWhole(cells[kResetCauseColumn], record.resetCause);
    FormatWhole(cells[kResetCountColumn], record.resetCount);
    FormatRecordTime(cells[kTimeColumn], record.testTime);
    const char* row[kListColumns];
    for (int i = 0; i < kListColumns; ++i) row[i] = cells[i];
    ui::ListAddRow(ui::Window::ServiceView, IDC_SERVICE_LIST, row, kListColumns);
}

void CountVoltages(const RecordHead& head) {
    TestRecord record{};
    std::memcpy(&record, head.bytes, sizeof head.bytes);
    for (int i = 0; i < StoredValueCount(record); ++i) {
        const int kilovolts = (record.breakdownVoltage[i] & kVoltageMask) / 10;
        g_serviceHistory.voltageHistogram[kilovolts % kHistogramClasses]++;
    }
}

// The history part of a series, for live and replayed heads alike. Only a live
// head is computed and written: a replayed one keeps the figures it was stored
// with, which followed the instrument's error-of-mean setting of its day and
// are the ones its archive record and protocols carry.
void TakeSeries(RecordHead& head, bool errorOfMean, bool live) {
    ServiceHistory& h = g_serviceHistory;
    if (live) ComputeHeadStatistics(head, errorOfMean);
    const int32_t number = h.seriesCount;
    h.seriesRing[number % kServiceRingSize] = head;
    CountVoltages(head);
    if (ViewShown()) ListSeries(head);
    if (live) AppendServiceLog(head);
    h.seriesCount = number + 1;
    ShowSeriesCounter();
    if (ViewShown()) ui::ListScrollToEnd(ui::Window::ServiceView, IDC_SERVICE_LIST);
}

}  // namespace

void AddServiceSeries(RecordHead& head, bool errorOfMean) { TakeSeries(head, errorOfMean, true); }

void AppendServiceLog(const RecordHead& head) {
    if (g_serviceHistory.logFileName[0] == 0) return;
    platform::FileHandle file =
        platform::OpenExclusive(g_serviceHistory.logFileName, platform::OpenMode::ReadWriteAlways);
    if (file == platform::kNoFile) return;
    uint64_t size = 0;
    bool placed = platform::FileSize(file, &size);
    if (placed && size % kRecordHeadSize != 0) {
        // A record torn by an earlier failure would shift every later one.
        placed = platform::SeekTo(file, size - size % kRecordHeadSize) && platform::TruncateHere(file);
    } else if (placed) {
        placed = platform::SeekToEnd(file);
    }
    uint32_t written = 0;
    if (placed) platform::WriteFile(file, head.bytes, sizeof head.bytes, &written);
    platform::CloseFile(file);
}

void LoadServiceLog() {
    ServiceHistory& h = g_serviceHistory;
    platform::FileHandle file = platform::OpenExclusive(h.logFileName, platform::OpenMode::ReadWriteExisting);
    if (file == platform::kNoFile) file = platform::OpenExclusive(h.logFileName, platform::OpenMode::ReadWriteAlways);
    if (file == platform::kNoFile) return;
    uint64_t size = 0;
    if (platform::FileSize(file, &size)) {
        for (uint64_t n = size / kRecordHeadSize; n > 0; --n) {
            RecordHead head;
            uint32_t got = 0;
            if (!platform::ReadFile(file, head.bytes, sizeof head.bytes, &got) || got != sizeof head.bytes) break;
            TakeSeries(head, false, false);
        }
    }
    platform::CloseFile(file);
    h.loadedCount = h.seriesCount;
    ShowSeriesCounter();
}

bool OpenServiceLog(const char* usbSerialNumber) {
    ServiceHistory& h = g_serviceHistory;
    if (h.logFileName[0] != 0) return false;
    std::snprintf(h.logFileName, sizeof h.logFileName, "%.16s.sdat", usbSerialNumber);
    LoadServiceLog();
    return true;
}

void ShowSeriesInProgress(const RecordHead& head) {
    g_serviceHistory.seriesRing[g_serviceHistory.seriesCount % kServiceRingSize] = head;
}

void ResetServiceHistory() {
    ServiceHistory& h = g_serviceHistory;
    std::memset(h.seriesRing, 0, sizeof h.seriesRing);
    for (auto& counter : h.voltageHistogram) counter = 0;
    h.seriesCount = 0;
    h.loadedCount = 0;
    h.logFileName[0] = 0;
}
