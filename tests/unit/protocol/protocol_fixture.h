#pragma once
#include <cstring>

#include "app/program_settings.h"
#include "results/test_record.h"

// A record whose text slots carry garbage after their terminators, as the
// main window's records do.
inline TestRecord ProtocolRecord() {
    TestRecord r;
    std::memset(&r, 0xCC, sizeof r);
    const char* texts[kProtocolTextCount] = {
        "12",           "Масло ГК",      "ГОСТ 6581-75", "Трансформатор Т-1", "1 мая 2026 г.",
        "Прозрачное",   "20 °C",         "22 °C",        "45 %",              "Отстой 30 мин",
        "2 мая 2026 г.", "Инженер",      "Петров П.П.",
    };
    for (int k = 0; k < kProtocolTextCount; ++k) std::strcpy(r.protocolText[k], texts[k]);
    r.valueCount = 3;
    r.breakdownVoltage[0] = 452;
    r.breakdownVoltage[1] = 470;
    r.breakdownVoltage[2] = 501;
    r.meanVoltage = 474;
    r.boundVoltage = 0;
    r.rmsError = 14;
    return r;
}

inline void FillSettings(ProgramSettings& s) {
    std::memset(s.organisationName, 0, sizeof s.organisationName);
    std::strcpy(s.organisationName, "ООО Лаборатория\r\nг. Тверь");
    std::strcpy(s.priborSerialNumber, "0042");
    std::strcpy(s.direktor, "Начальник лаборатории");
    std::strcpy(s.direktorName, "Иванов И.И.");
}
