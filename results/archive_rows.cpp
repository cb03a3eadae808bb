// Texts of the archive viewer's rows and of its details pane.
#include "results/archive_rows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/format.h"
#include "verdict/verdict.h"

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

std::string ArchiveApproverLine(const VersionApproval& a) {
    std::string who = a.position.empty() ? a.approver : a.position + " " + a.approver;
    return "Утвердил: " + who + ", " + a.date;
}

void ArchiveRowCells(const TestRecord& r, ArchiveRowTexts* out, bool damaged, const VersionApproval* approval) {
    CopyText(out->cells[0], r.protocolText[0]);
    if (damaged) {
        // The mark goes in front; the number's last characters give way.
        const size_t mark = sizeof kDamagedRowMark - 1;
        std::memmove(out->cells[0] + mark, out->cells[0], kProtocolTextSize - 1 - mark);
        std::memcpy(out->cells[0], kDamagedRowMark, mark);
    }
    CopyText(out->cells[1], r.protocolText[1]);
    JoinVoltages(r, "  %s", out->cells[2], kProtocolTextSize);
    FormatMeasurementValue(out->cells[3], r, 7);  // the bound voltage when the mean did not break down
    std::snprintf(out->cells[4], kProtocolTextSize, "%u.%u.%u", r.testTime.wDay, r.testTime.wMonth,
                  r.testTime.wYear);
    std::snprintf(out->cells[5], kProtocolTextSize, "%u:%02u", r.testTime.wHour, r.testTime.wMinute);
    out->cells[6][0] = 0;
    if (r.marks.amendment) std::snprintf(out->cells[6], kProtocolTextSize, "изм. %u", r.marks.amendment);
    std::snprintf(out->cells[7], kProtocolTextSize, "%s", VerdictShortText(r));
    out->cells[8][0] = 0;
    if (approval) std::snprintf(out->cells[8], kProtocolTextSize, "утв. %s", approval->date.c_str());
}

std::vector<uint32_t> ArchiveDamagedSeries(const std::vector<uint32_t>& damagedRecords,
                                           const ArchiveVersions& versions) {
    std::vector<uint32_t> series;
    for (uint32_t i : damagedRecords)
        if (i < versions.size()) series.push_back(versions.FirstOf(i));
    std::sort(series.begin(), series.end());
    series.erase(std::unique(series.begin(), series.end()), series.end());
    return series;
}

std::vector<uint32_t> ArchiveDamagedRows(const std::vector<uint32_t>& damagedSeries,
                                         const std::vector<uint32_t>& rows) {
    std::vector<uint32_t> listed;
    for (uint32_t first : damagedSeries) {
        auto at = std::lower_bound(rows.begin(), rows.end(), first);
        if (at != rows.end() && *at == first) listed.push_back(static_cast<uint32_t>(at - rows.begin()));
    }
    return listed;
}
