// Texts of the archive viewer's rows and of its details pane.
#include "results/archive_rows.h"

#include <cstdio>
#include <cstring>

#include "app/format.h"
#include "results/verdict.h"

namespace {

void CopyText(char* out, const char* text) {
    // Protocol texts come from the file: never trust their terminator.
    std::memcpy(out, text, kProtocolTextSize - 1);
    out[kProtocolTextSize - 1] = 0;
}

// The stored voltages, each written with format ("%s" taking the value text).
void JoinVoltages(const TestRecord& r, const char* format, char* out, size_t size) {
    size_t used = 0;
    out[0] = 0;
    for (int i = 0; i < StoredValueCount(r) && used < size; ++i) {
        char value[256];
        FormatVoltage(value, r.breakdownVoltage[i]);
        used += static_cast<size_t>(std::snprintf(out + used, size - used, format, value));
    }
}

}  // namespace

void ArchiveVoltageList(const TestRecord& r, char* out, size_t size) { JoinVoltages(r, "%s ", out, size); }

std::string ArchiveConclusionLine(const TestRecord& r) {
    const std::string conclusion = ConclusionText(r);
    return conclusion.empty() ? conclusion : "Заключение: " + conclusion;
}

void ArchiveRowCells(const TestRecord& r, ArchiveRowTexts* out) {
    CopyText(out->cells[0], r.protocolText[0]);
    CopyText(out->cells[1], r.protocolText[1]);
    JoinVoltages(r, "  %s", out->cells[2], kProtocolTextSize);
    FormatMeasurementValue(out->cells[3], r, 7);  // the bound voltage when the mean did not break down
    std::snprintf(out->cells[4], kProtocolTextSize, "%u.%u.%u", r.testTime.wDay, r.testTime.wMonth,
                  r.testTime.wYear);
    std::snprintf(out->cells[5], kProtocolTextSize, "%u:%02u", r.testTime.wHour, r.testTime.wMinute);
    out->cells[6][0] = 0;
    if (r.marks.amendment) std::snprintf(out->cells[6], kProtocolTextSize, "изм. %u", r.marks.amendment);
    std::snprintf(out->cells[7], kProtocolTextSize, "%s", VerdictShortText(r));
}
