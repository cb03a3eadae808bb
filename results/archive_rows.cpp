#include "results/archive_rows.h"

#include <cstdio>
#include <cstring>

namespace {

// A damaged record may claim more values than there are slots.
int ValueCount(const TestRecord& r) { return r.valueCount < kVoltageSlots ? r.valueCount : kVoltageSlots; }

void CopyText(char* out, const char* text) {
    // Protocol texts come from the file: never trust their terminator.
    std::memcpy(out, text, kProtocolTextSize - 1);
    out[kProtocolTextSize - 1] = 0;
}

}  // namespace

void ArchiveVoltageText(char* out, size_t size, uint16_t word) {
    if (word & kNoBreakdownBit)
        std::snprintf(out, size, ">%.0f кВ", (word & kVoltageMask) / 10.0);
    else
        std::snprintf(out, size, "%.1f кВ", word / 10.0);
}

void ArchiveMeanText(char* out, size_t size, const TestRecord& r) {
    if (r.meanVoltage & kNoBreakdownBit)
        ArchiveVoltageText(out, size, static_cast<uint16_t>(kNoBreakdownBit | (r.boundVoltage & kVoltageMask)));
    else
        ArchiveVoltageText(out, size, r.meanVoltage);
}

void ArchiveVoltageList(const TestRecord& r, char* out, size_t size) {
    size_t used = 0;
    out[0] = 0;
    for (int i = 0; i < ValueCount(r) && used < size; ++i) {
        char value[32];
        ArchiveVoltageText(value, sizeof value, r.breakdownVoltage[i]);
        used += static_cast<size_t>(std::snprintf(out + used, size - used, "%s ", value));
    }
}

void ArchiveRowCells(const TestRecord& r, ArchiveRowTexts* out) {
    CopyText(out->cells[0], r.protocolText[0]);
    CopyText(out->cells[1], r.protocolText[1]);
    char* values = out->cells[2];
    size_t used = 0;
    values[0] = 0;
    for (int i = 0; i < ValueCount(r); ++i) {
        char value[32];
        ArchiveVoltageText(value, sizeof value, r.breakdownVoltage[i]);
        used += static_cast<size_t>(std::snprintf(values + used, kProtocolTextSize - used, "  %s", value));
    }
    ArchiveMeanText(out->cells[3], kProtocolTextSize, r);
    std::snprintf(out->cells[4], kProtocolTextSize, "%u.%u.%u", r.testTime.wDay, r.testTime.wMonth,
                  r.testTime.wYear);
}
