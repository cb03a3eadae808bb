// The decision on a series against method and norm, and its conclusion texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/statistics.h"
#include "results/verdict.h"

namespace {

// A series run exactly as the method asks, unless the case changes it.
TestRecord Series(const TestMethod& m, std::vector<uint16_t> values) {
    TestRecord r{};
    for (size_t i = 0; i < values.size(); ++i) r.breakdownVoltage[i] = values[i];
    r.valueCount = static_cast<uint8_t>(values.size());
    r.settingsSnapshot.countAndLift = static_cast<uint8_t>(m.breakdowns);
    r.settingsSnapshot.pauseAndFlags =
        static_cast<uint8_t>(m.pauseMinutes | (m.preTestDelay ? settings_bits::kPreTestDelay : 0));
    r.settingsSnapshot.riseRate = m.riseRate;
    ComputeSeriesStatistics(r);
    return r;
}

const TestMethod& Gost() { return *BuiltInMethod(kMethodGost); }
const TestMethod& Astm2() { return *BuiltInMethod(kMethodAstm2mm); }
const TestMethod& Astm1() { return *BuiltInMethod(kMethodAstm1mm); }
const TestMethod& Iec() { return *BuiltInMethod(kMethodIec); }

struct Case {
    const char* what;
    const TestMethod* method;
    std::vector<uint16_t> values;
    NormLimits norm;
    uint8_t verdict;
    uint8_t deviations;
    void (*change)(TestRecord&);
};

void NoChange(TestRecord&) {}
void StoppedAfterFive(TestRecord& r) { r.valueCount = 5; ComputeSeriesStatistics(r); }
void Rate1(TestRecord& r) { r.settingsSnapshot.riseRate = 10; }
void Pause1(TestRecord& r) { r.settingsSnapshot.pauseAndFlags = (r.settingsSnapshot.pauseAndFlags & 0xF0) | 1; }
void Pause9(TestRecord& r) { r.settingsSnapshot.pauseAndFlags = (r.settingsSnapshot.pauseAndFlags & 0xF0) | 9; }
void NoDelay(TestRecord& r) { r.settingsSnapshot.pauseAndFlags &= ~settings_bits::kPreTestDelay; }
// Did not break down up to 100 kV: the mean is a bound, the bound voltage its value.
void Bound(TestRecord& r) {
    r.breakdownVoltage[5] = 1000 | kNoBreakdownBit;
    r.meanVoltage |= kNoBreakdownBit;
    r.boundVoltage = 480;
}

const std::vector<uint16_t> k6x500 = {500, 500, 500, 500, 500, 500};

}  // namespace

TEST(VerdictTest, JudgesEachMethodBandEdgeAndDeviation) {
    using namespace deviation_bits;
    const Case cases[] = {
        {"mean equal to the minimum meets", &Gost(), k6x500, {500, 0}, kVerdictMeets, 0, NoChange},
        {"a tenth below fails", &Gost(), {499, 499, 499, 499, 499, 499}, {500, 0}, kVerdictFails, 0, NoChange},
        {"no norm: not judged", &Gost(), k6x500, {0, 0}, kVerdictNotJudged, 0, NoChange},
        {"three bands: the good limit itself is good", &Iec(), {600, 600, 600, 600, 600, 600}, {500, 600},
         kVerdictMeets, 0, NoChange},
        {"three bands: under good is fair", &Iec(), {599, 599, 599, 599, 599, 599}, {500, 600}, kVerdictFair, 0,
         NoChange},
        {"three bands: under the minimum is poor", &Iec(), {499, 499, 499, 499, 499, 499}, {500, 600},
         kVerdictFails, 0, NoChange},
        // Range 460 = 92 % of 500 exactly: still valid; 461 is not.
        {"ASTM 2 mm range at 92 % holds", &Astm2(), {270, 730, 500, 500, 500}, {350, 0}, kVerdictMeets, 0, NoChange},
        {"ASTM 2 mm range over 92 % invalid", &Astm2(), {270, 731, 500, 500, 499}, {350, 0}, kVerdictInvalid, 0,
         NoChange},
        {"invalid whatever the mean, even without a norm", &Astm2(), {100, 900, 500, 500, 500}, {0, 0},
         kVerdictInvalid, 0, NoChange},
        {"ASTM 1 mm allows 120 %", &Astm1(), {200, 800, 500, 500, 500}, {200, 0}, kVerdictMeets, 0, NoChange},
        {"no breakdown: the bound meets, dispersion not applied", &Astm2(), {100, 900, 500, 500, 500}, {450, 0},
         kVerdictMeets, 0, Bound},
        {"no breakdown: a bound below the minimum decides nothing", &Gost(), k6x500, {490, 0}, kVerdictNotJudged,
         0, Bound},
        {"stopped after five of six", &Gost(), k6x500, {400, 0}, kVerdictMeets, kBreakdowns, StoppedAfterFive},
        {"six where ASTM asks five", &Astm2(), k6x500, {350, 0}, kVerdictMeets, kBreakdowns, NoChange},
        {"another rise rate", &Gost(), k6x500, {400, 0}, kVerdictMeets, kRiseRate, Rate1},
        {"a shorter pause", &Gost(), k6x500, {400, 0}, kVerdictMeets, kPauseShorter, Pause1},
        {"a longer pause is no deviation", &Iec(), k6x500, {400, 0}, kVerdictMeets, 0, Pause9},
        {"no delay before the test", &Gost(), k6x500, {400, 0}, kVerdictMeets, kNoDelay, NoDelay},
        {"no method: no deviations", nullptr, {500, 500}, {400, 0}, kVerdictMeets, 0, Rate1},
    };
    for (const Case& c : cases) {
        TestRecord r = Series(c.method ? *c.method : Gost(), c.values);
        c.change(r);
        VerdictBlock v = JudgeSeries(r, c.method, c.norm);
        EXPECT_EQ(v.present, 1) << c.what;
        EXPECT_EQ(v.method, c.method ? c.method->code : static_cast<uint8_t>(kMethodNone)) << c.what;
        EXPECT_EQ(v.verdict, c.verdict) << c.what;
        EXPECT_EQ(v.deviations, c.deviations) << c.what;
    }
}

TEST(VerdictTest, ConclusionTexts) {
    struct Text {
        const TestMethod* method;
        std::vector<uint16_t> values;
        NormLimits norm;
        void (*change)(TestRecord&);
        const char* expected;
    };
    const Text texts[] = {
        {&Gost(), {524, 524, 524, 524, 524, 524}, {400, 0}, NoChange,
         "Пробивное напряжение 52,4 кВ (среднее шести пробоев по ГОСТ 6581-75) не ниже нормы 40 кВ — соответствует."},
        {&Gost(), {352, 352, 352, 352, 352, 352}, {400, 0}, StoppedAfterFive,
         "Пробивное напряжение 35,2 кВ (среднее пяти пробоев по ГОСТ 6581-75) ниже нормы 40 кВ — не соответствует. "
         "Отклонение от методики: 5 пробоев вместо 6."},
        {&Iec(), {550, 550, 550, 550, 550, 550}, {500, 600}, Rate1,
         "Пробивное напряжение 55,0 кВ (среднее шести пробоев по IEC 60156) не ниже нормы 50 кВ, но ниже 60 кВ — "
         "удовлетворительно. Отклонение от методики: скорость подъема напряжения 1 кВ/с вместо 2 кВ/с."},
        {&Iec(), {650, 650, 650, 650, 650, 650}, {500, 600}, NoChange,
         "Пробивное напряжение 65,0 кВ (среднее шести пробоев по IEC 60156) не ниже 60 кВ (норма: хорошо от 60 кВ, "
         "удовлетворительно от 50 кВ) — соответствует, состояние хорошее."},
        {&Astm2(), {100, 900, 500, 500, 500}, {350, 0}, NoChange,
         "Серия недействительна по ASTM D1816, зазор 2 мм: размах пробивных напряжений 80,0 кВ больше 92 % среднего "
         "50,0 кВ."},
        {&Astm2(), {100, 900, 500, 500, 500}, {450, 0}, Bound,
         "Пробивное напряжение не ниже 48,0 кВ (пробой наступил не во всех испытаниях; среднее пяти пробоев по ASTM "
         "D1816, зазор 2 мм) не ниже нормы 45 кВ — соответствует. Разброс не оценивался: пробой наступил не во всех "
         "испытаниях."},
        {nullptr, {425, 425}, {0, 0}, NoDelay, "Пробивное напряжение 42,5 кВ (среднее двух пробоев). Норма не выбрана."},
    };
    for (const Text& t : texts) {
        TestRecord r = Series(t.method ? *t.method : Gost(), t.values);
        t.change(r);
        r.verdict = JudgeSeries(r, t.method, t.norm);
        EXPECT_EQ(ConclusionText(r), t.expected);
    }
}

TEST(VerdictTest, ARecordWrittenBeforeJudgingReadsAsNotJudged) {
    TestRecord r = Series(Gost(), k6x500);
    EXPECT_EQ(ConclusionText(r), "");
    EXPECT_EQ(DeviationText(r), "");
    EXPECT_STREQ(VerdictShortText(r), "");
    const char* shorts[] = {"", "соотв.", "удовл.", "не соотв.", "недейств."};
    for (uint8_t v = kVerdictNotJudged; v <= kVerdictInvalid; ++v) {
        r.verdict.present = 1;
        r.verdict.verdict = v;
        EXPECT_STREQ(VerdictShortText(r), shorts[v]);
    }
}
