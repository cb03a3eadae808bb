#pragma once
// A filled record and settings shared by the protocol tests.
#include <cstring>

#include "protocol/protocol_issuer.h"
#include "common/test_record.h"
#include "verdict/verdict.h"

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
    r.verdict = VerdictBlock{};  // written before series were judged
    r.marks = RecordMarks{};     // the original version of the series
    return r;
}

// That series judged against ГОСТ and 40 kV; three breakdowns where the
// method asks six, the instrument set to three.
inline TestRecord JudgedProtocolRecord() {
    TestRecord r = ProtocolRecord();
    r.settingsSnapshot.countAndLift = 3;
    r.verdict.present = 1;
    r.verdict.method = kMethodGost;
    r.verdict.normMinimum = 400;
    r.verdict.verdict = kVerdictMeets;
    r.verdict.deviations = deviation_bits::kBreakdowns;
    return r;
}
constexpr char kJudgedConclusion[] =
    "Пробивное напряжение 47,4 кВ (среднее трех пробоев по ГОСТ 6581-75) не ниже нормы 40 кВ — соответствует. "
    "Отклонение от методики: 3 пробоя вместо 6.";

inline void FillSettings(ProtocolIssuer& s) {
    std::memset(s.organisationName, 0, sizeof s.organisationName);
    std::strcpy(s.organisationName, "ООО Лаборатория\r\nг. Тверь");
    std::strcpy(s.priborSerialNumber, "0042");
    std::strcpy(s.direktor, "Начальник лаборатории");
    std::strcpy(s.direktorName, "Иванов И.И.");
}
