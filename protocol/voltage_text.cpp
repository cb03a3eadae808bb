#include "protocol/voltage_text.h"

#include <cstdio>
#include <cstring>

namespace {

std::string Printed(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

}  // namespace

std::string SlotText(const char* slot, size_t size) {
    const void* end = std::memchr(slot, 0, size);
    return std::string(slot, end ? static_cast<const char*>(end) - slot : size);
}

std::string VoltageWordText(uint16_t word) {
    if (word & kNoBreakdownBit) return Printed(">%.0f кВ", (word & kVoltageMask) / 10.0);
    return Printed("%.1f кВ", word / 10.0);
}

std::string VoltageListText(const TestRecord& record) {
    // A damaged archived record may claim more values than there are slots.
    int count = record.valueCount < kVoltageSlots ? record.valueCount : kVoltageSlots;
    std::string list;
    for (int i = 0; i < count; ++i) {
        if (i > 0) list += ", ";
        list += VoltageWordText(record.breakdownVoltage[i]);
    }
    return list;
}

std::string MeanVoltageText(const TestRecord& record) {
    if (record.meanVoltage & kNoBreakdownBit) return Printed(">%.0f кВ", record.boundVoltage / 10.0);
    return Printed("%.1f кВ", record.meanVoltage / 10.0);
}

std::string RmsErrorText(const TestRecord& record) {
    return Printed("%.1f кВ", record.rmsError / 10.0);
}

std::string InstrumentText(const char* serialNumber) {
    return "ОРЛА-К200В заводской номер " + SlotText(serialNumber, kProtocolTextSize);
}
