#include "protocol/voltage_text.h"

#include <cstdio>
#include <cstring>

#include "common/format.h"

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
    char text[256];
    FormatVoltage(text, word);
    return text;
}

std::string VoltageListText(const TestRecord& record) {
    std::string list;
    for (int i = 0; i < StoredValueCount(record); ++i) {
        if (i > 0) list += ", ";
        list += VoltageWordText(record.breakdownVoltage[i]);
    }
    return list;
}

std::string MeanVoltageText(const TestRecord& record) {
    char text[256];
    FormatMeasurementValue(text, record, 7);  // the bound voltage when the mean did not break down
    return text;
}

std::string RmsErrorText(const TestRecord& record) {
    return Printed("%.1f кВ", record.rmsError / 10.0);
}

std::string InstrumentText(const char* serialNumber) {
    return "ОРЛА-К200В заводской номер " + SlotText(serialNumber, kProtocolTextSize);
}
