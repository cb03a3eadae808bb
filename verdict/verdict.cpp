// Test methods, the decision on a finished series and its conclusion texts.
#include "verdict/verdict.h"

#include <cstdio>
#include <cstring>

namespace {

// Each number from the method's own text:
// - ГОСТ 6581-75: six breakdowns on one filling at 2 kV/s, 5 min between
//   them, the first after the filled cell has stood; the result is their
//   mean. The same as the instrument's own "ГОСТ" preset.
// - IEC 60156 (1995 and 2018), clause 9: six breakdowns at 2.0 kV/s, at least
//   2 min after each, the first about 5 min after filling; result the mean.
//   No dispersion limit is normative.
// - ASTM D1816, sections 9.4, 9.5 and 11.1: five breakdowns at 0.5 kV/s, one
//   minute between them; the series is valid when the range of the five is at
//   most 92 % of their mean with a 2 mm gap, 120 % with a 1 mm gap.
// ASTM D877 asks for 3 kV/s, which the instrument cannot run: not offered.
const std::vector<TestMethod> kBuiltIn = {
    {"ГОСТ 6581-75", kMethodGost, 6, 20, 5, true, kDispersionNone, 0},
    {"IEC 60156", kMethodIec, 6, 20, 2, true, kDispersionNone, 0},
    {"ASTM D1816, зазор 2 мм", kMethodAstm2mm, 5, 5, 1, true, kDispersionRange, 92},
    {"ASTM D1816, зазор 1 мм", kMethodAstm1mm, 5, 5, 1, true, kDispersionRange, 120},
};

std::string Kilovolts(unsigned tenths, bool alwaysDecimal, const char* unit = "кВ") {
    char text[48];
    if (!alwaysDecimal && tenths % 10 == 0)
        std::snprintf(text, sizeof text, "%u %s", tenths / 10, unit);
    else
        std::snprintf(text, sizeof text, "%u,%u %s", tenths / 10, tenths % 10, unit);
    return text;
}

std::string Breakdowns(int n) {
    const char* word = n == 1 ? "пробой" : (n >= 2 && n <= 4) ? "пробоя" : "пробоев";
    return std::to_string(n) + " " + word;
}

int NoBreakdowns(const TestRecord& r) {
    int count = 0;
    for (int i = 0; i < StoredValueCount(r); ++i) count += (r.breakdownVoltage[i] & kNoBreakdownBit) ? 1 : 0;
    return count;
}

// A count of values that are not all breakdowns is a count of tests.
std::string CountOfValues(const TestRecord& r) {
    const int n = StoredValueCount(r);
    if (NoBreakdowns(r) == 0) return Breakdowns(n);
    const char* word = n == 1 ? "испытание" : (n >= 2 && n <= 4) ? "испытания" : "испытаний";
    return std::to_string(n) + " " + word;
}

// The mean judged: as stored, unless the stored word carries the
// no-breakdown bit, which this program never sets; the values then decide.
unsigned JudgedTenths(const TestRecord& r) {
    if (!(r.meanVoltage & kNoBreakdownBit)) return r.meanVoltage & kVoltageMask;
    const int n = StoredValueCount(r);
    if (n == 0) return 0;
    unsigned sum = 0;
    for (int i = 0; i < n; ++i) sum += r.breakdownVoltage[i] & kVoltageMask;
    const unsigned count = static_cast<unsigned>(n);
    return (2 * sum + count) / (2 * count);  // the statistics' rounding, halves upward
}

unsigned RangeTenths(const TestRecord& r) {
    const int n = StoredValueCount(r);
    if (n == 0) return 0;
    unsigned lo = kVoltageMask, hi = 0;
    for (int i = 0; i < n; ++i) {
        unsigned x = r.breakdownVoltage[i] & kVoltageMask;
        lo = x < lo ? x : lo;
        hi = x > hi ? x : hi;
    }
    return hi - lo;
}

bool DispersionHolds(const TestRecord& r, const VerdictBlock& v) {
    switch (v.dispersionRule) {
        case kDispersionRange:
            // Integers on both sides: 92 % of a mean is never rounded into a pass.
            return static_cast<uint32_t>(RangeTenths(r)) * 100 <=
                   static_cast<uint32_t>(v.dispersionPercent) * JudgedTenths(r);
        case kDispersionCv: return r.variationPercent <= v.dispersionPercent;
        default: return true;
    }
}

uint8_t Deviations(const TestRecord& r, const TestMethod& m) {
    const DeviceSettings& s = r.settingsSnapshot;
    uint8_t bits = 0;
    if (StoredValueCount(r) != m.breakdowns) bits |= deviation_bits::kBreakdowns;
    if (s.riseRate != m.riseRate) bits |= deviation_bits::kRiseRate;
    if (PauseMinutes(s) < m.pauseMinutes) bits |= deviation_bits::kPauseShorter;
    if (m.preTestDelay && !PreTestDelay(s)) bits |= deviation_bits::kNoDelay;
    return bits;
}

uint8_t Band(unsigned judged, const VerdictBlock& v, bool lowerBound) {
    if (v.normMinimum == 0) return kVerdictNotJudged;
    // A lower bound under the minimum says nothing about the true mean.
    if (judged < v.normMinimum) return lowerBound ? kVerdictNotJudged : kVerdictFails;
    if (v.normGood == 0 || judged >= v.normGood) return kVerdictMeets;
    return kVerdictFair;
}

const char* const kGenitive[] = {"", "одного", "двух", "трех", "четырех", "пяти", "шести"};
const char* const kPrepositional[] = {"", "одном испытании", "двух испытаниях", "трех испытаниях",
                                      "четырех испытаниях", "пяти испытаниях"};

// " по ГОСТ 6581-75"; a laboratory's own method by the name the protocol's
// standard field gives it.
std::string MethodPart(const TestRecord& r) {
    if (r.verdict.method != kMethodOwn) {
        const char* name = StoredMethodName(r.verdict.method);
        return *name ? std::string(" по ") + name : std::string();
    }
    const char* slot = r.protocolText[2];
    const void* end = std::memchr(slot, 0, kProtocolTextSize);
    const std::string standard(slot, end ? static_cast<size_t>(static_cast<const char*>(end) - slot) : 0);
    const size_t first = standard.find_first_not_of(' '), last = standard.find_last_not_of(' ');
    if (first == std::string::npos) return " по методике лаборатории";
    return " по " + standard.substr(first, last - first + 1);
}

// "(пробой наступил в пяти испытаниях из шести)".
std::string BreakdownsOfTests(const TestRecord& r) {
    const int n = StoredValueCount(r), broke = n - NoBreakdowns(r);
    if (broke == 0) return n == 1 ? "(пробоя не было)" : std::string("(пробоя не было ни в одном из ") + kGenitive[n] +
                                                           " испытаний)";
    return std::string("(пробой наступил в ") + kPrepositional[broke] + " из " + kGenitive[n] + ")";
}

// "Пробивное напряжение 52,4 кВ (среднее шести пробоев по ГОСТ 6581-75)";
// with a value that did not break down the mean is only a lower bound.
std::string Subject(const TestRecord& r) {
    const int n = StoredValueCount(r);
    const std::string value = Kilovolts(JudgedTenths(r), true);
    if (NoBreakdowns(r) > 0) return "Пробивное напряжение не ниже " + value + " " + BreakdownsOfTests(r) + MethodPart(r);
    const std::string how = n == 1 ? "один пробой" : std::string("среднее ") + kGenitive[n] + " пробоев";
    return "Пробивное напряжение " + value + " (" + how + MethodPart(r) + ")";
}

std::string InvalidText(const TestRecord& r) {
    const VerdictBlock& v = r.verdict;
    std::string text = "Серия недействительна" + MethodPart(r);
    if (v.dispersionRule == kDispersionRange)
        return text + ": размах пробивных напряжений " + Kilovolts(RangeTenths(r), true) + " больше " +
               std::to_string(v.dispersionPercent) + " % среднего " + Kilovolts(JudgedTenths(r), true) +
               ".";
    return text + ": коэффициент вариации " + std::to_string(r.variationPercent) + " % больше " +
           std::to_string(v.dispersionPercent) + " %.";
}

std::string InterruptedText(const TestRecord& r) {
    return "Серия прервана: " + CountOfValues(r) + " из " + std::to_string(MeasurementCount(r.settingsSnapshot)) +
           " — заключение не выносится.";
}

std::string NormPart(const TestRecord& r) {
    const VerdictBlock& v = r.verdict;
    const std::string minimum = Kilovolts(v.normMinimum, false);
    const std::string good = Kilovolts(v.normGood, false);
    switch (v.verdict) {
        case kVerdictMeets:
            if (v.normGood)
                return " не ниже " + good + " (норма: хорошо от " + good + ", удовлетворительно от " + minimum +
                       ") — соответствует, состояние хорошее.";
            return " не ниже нормы " + minimum + " — соответствует.";
        case kVerdictFair: return " не ниже нормы " + minimum + ", но ниже " + good + " — удовлетворительно.";
        case kVerdictFails:
            return " ниже нормы " + minimum + (v.normGood ? " — не соответствует, состояние плохое." : " — не соответствует.");
        default:
            if (v.normMinimum) return ": граница ниже нормы " + minimum + ", соответствие не установлено.";
            return ". Норма не выбрана.";
    }
}

}  // namespace

const std::vector<TestMethod>& BuiltInMethods() { return kBuiltIn; }

const TestMethod* BuiltInMethod(uint8_t code) {
    for (const TestMethod& m : kBuiltIn)
        if (m.code == code) return &m;
    return nullptr;
}

const char* StoredMethodName(uint8_t code) {
    if (code == kMethodOwn) return "своя методика";
    const TestMethod* m = BuiltInMethod(code);
    return m ? m->name.c_str() : "";
}

bool SeriesInterrupted(const TestRecord& r) {
    const int asked = MeasurementCount(r.settingsSnapshot);
    return asked > 0 && StoredValueCount(r) < asked;
}

uint8_t EffectiveVerdict(const TestRecord& r) {
    return SeriesInterrupted(r) ? static_cast<uint8_t>(kVerdictNotJudged) : r.verdict.verdict;
}

VerdictBlock JudgeSeries(const TestRecord& r, const TestMethod* method, NormLimits norm) {
    VerdictBlock v{};
    v.present = 1;
    v.method = method ? method->code : static_cast<uint8_t>(kMethodNone);
    v.normMinimum = norm.minimum;
    v.normGood = norm.minimum && norm.good > norm.minimum ? norm.good : 0;
    if (method) {
        v.dispersionRule = method->dispersionRule;
        v.dispersionPercent = method->dispersionPercent;
        v.deviations = Deviations(r, *method);
    }
    // Fewer values than the instrument was set to run: no figure to judge.
    if (SeriesInterrupted(r)) return v;
    const bool bound = NoBreakdowns(r) > 0;
    if (!bound && StoredValueCount(r) > 0 && !DispersionHolds(r, v)) {
        v.verdict = kVerdictInvalid;
        return v;
    }
    v.verdict = Band(JudgedTenths(r), v, bound);
    return v;
}

std::string DeviationText(const TestRecord& r) {
    const VerdictBlock& v = r.verdict;
    if (!v.present || !v.deviations) return {};
    const TestMethod* m = BuiltInMethod(v.method);
    const DeviceSettings& s = r.settingsSnapshot;
    std::string parts;
    auto add = [&parts](const std::string& part) { parts += (parts.empty() ? "" : "; ") + part; };
    if (v.deviations & deviation_bits::kBreakdowns)
        add(CountOfValues(r) + (m ? " вместо " + std::to_string(m->breakdowns) : " не по методике"));
    if (v.deviations & deviation_bits::kRiseRate)
        add("скорость подъема напряжения " + Kilovolts(s.riseRate, false, "кВ/с") +
            (m ? " вместо " + Kilovolts(m->riseRate, false, "кВ/с") : " не по методике"));
    if (v.deviations & deviation_bits::kPauseShorter)
        add("пауза " + std::to_string(PauseMinutes(s)) + " мин" +
            (m ? " вместо " + std::to_string(m->pauseMinutes) + " мин" : " короче, чем по методике"));
    if (v.deviations & deviation_bits::kNoDelay) add("без задержки перед испытанием");
    return "Отклонение от методики: " + parts + ".";
}

// Shown from the values, not from the stored verdict alone: records of
// earlier versions judged stopped series and wrote a wrong count.
std::string ConclusionText(const TestRecord& r) {
    const VerdictBlock& v = r.verdict;
    if (!v.present || StoredValueCount(r) == 0) return {};
    const int unbroken = NoBreakdowns(r);
    std::string text;
    if (SeriesInterrupted(r))
        text = InterruptedText(r);
    else if (v.verdict == kVerdictInvalid && unbroken == 0)
        text = InvalidText(r);
    else
        text = Subject(r) + NormPart(r);
    if (unbroken > 0 && v.dispersionRule != kDispersionNone && !SeriesInterrupted(r))
        text += " Разброс не оценивался: пробой наступил не во всех испытаниях.";
    if (unbroken > 0)
        text += unbroken == 1 ? " Среднее, среднеквадратичная ошибка и коэффициент вариации включают значение без пробоя."
                              : " Среднее, среднеквадратичная ошибка и коэффициент вариации включают значения без пробоя.";
    const std::string deviations = DeviationText(r);
    return deviations.empty() ? text : text + " " + deviations;
}

const char* VerdictShortText(const TestRecord& r) {
    if (!r.verdict.present) return "";
    if (SeriesInterrupted(r)) return "прервана";
    switch (r.verdict.verdict) {
        case kVerdictMeets: return "соотв.";
        case kVerdictFair: return "удовл.";
        case kVerdictFails: return "не соотв.";
        case kVerdictInvalid: return "недейств.";
        default: return "";
    }
}
