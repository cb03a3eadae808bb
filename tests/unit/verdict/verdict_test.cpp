// The decision on a series against method and norm, and its conclusion texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "results/statistics.h"
#include "verdict/verdict.h"

namespace {

// A series run exactly as the method asks, unless the case changes it.
TestRecord Series(const TestMethod& m, std::vector<uint16_t> values) {
    TestRecord r{};
    for (size_t i = 0; i < values.size(); ++i) r.breakdownVoltage[i] = values[i];
    r.valueCount = static_cast<uint8_t>(values.size());
    // The instrument set to run as many as there are values.
    r.settingsSnapshot.countAndLift = static_cast<uint8_t>(values.size());
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
void StoppedAfterThree(TestRecord& r) { r.valueCount = 3; ComputeSeriesStatistics(r); }
void SetToFive(TestRecord& r) { r.settingsSnapshot.countAndLift = 5; StoppedAfterFive(r); }
void Rate1(TestRecord& r) { r.settingsSnapshot.riseRate = 10; }
void Pause1(TestRecord& r) { r.settingsSnapshot.pauseAndFlags = (r.settingsSnapshot.pauseAndFlags & 0xF0) | 1; }
void Pause9(TestRecord& r) { r.settingsSnapshot.pauseAndFlags = (r.settingsSnapshot.pauseAndFlags & 0xF0) | 9; }
void NoDelay(TestRecord& r) { r.settingsSnapshot.pauseAndFlags &= ~settings_bits::kPreTestDelay; }
// The last value did not break down: the mean, as computed, is a lower bound.
void Bound(TestRecord& r) {
    r.breakdownVoltage[r.valueCount - 1] |= kNoBreakdownBit;
    ComputeSeriesStatistics(r);
}
// A mean word with its own no-breakdown bit: the values decide, not the bound voltage.
void FlaggedMeanWord(TestRecord& r) {
    r.meanVoltage |= kNoBreakdownBit;
    r.boundVoltage = 1000;
}
// One of six did not break down up to 100 kV: mean 57,0 kV.
const std::vector<uint16_t> kOneUnbroken = {452, 470, 1000 | kNoBreakdownBit, 488, 513, 499};
void OwnStandard(TestRecord& r) { std::strcpy(r.protocolText[2], "МИ-01 лаборатории"); }

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
        {"no breakdown: a bound below the minimum decides nothing", &Gost(), k6x500, {510, 0}, kVerdictNotJudged,
         0, Bound},
        {"a flagged mean word: the values' mean is the bound", &Iec(), kOneUnbroken, {580, 0}, kVerdictNotJudged, 0,
         FlaggedMeanWord},
        {"stopped after five of six: not judged", &Gost(), k6x500, {400, 0}, kVerdictNotJudged, kBreakdowns,
         StoppedAfterFive},
        {"five run as set where ГОСТ asks six", &Gost(), k6x500, {400, 0}, kVerdictMeets, kBreakdowns, SetToFive},
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
    const TestMethod kOwn{"МИ-01 лаборатории", kMethodOwn, 6, 20, 5, true, kDispersionNone, 0};
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
        {&Gost(), {352, 352, 352, 352, 352, 352}, {400, 0}, SetToFive,
         "Пробивное напряжение 35,2 кВ (среднее пяти пробоев по ГОСТ 6581-75) ниже нормы 40 кВ — не соответствует. "
         "Отклонение от методики: 5 пробоев вместо 6."},
        {&Astm2(), {350, 350, 350, 350, 350}, {350, 0}, StoppedAfterThree,
         "Серия прервана: 3 пробоя из 5 — заключение не выносится. Отклонение от методики: 3 пробоя вместо 5."},
        {&Iec(), kOneUnbroken, {400, 500}, NoChange,
         "Пробивное напряжение не ниже 57,0 кВ (пробой наступил в пяти испытаниях из шести) по IEC 60156 не ниже "
         "50 кВ (норма: хорошо от 50 кВ, удовлетворительно от 40 кВ) — соответствует, состояние хорошее. Среднее, "
         "среднеквадратичная ошибка и коэффициент вариации включают значение без пробоя."},
        {&kOwn, {524, 524, 524, 524, 524, 524}, {400, 0}, OwnStandard,
         "Пробивное напряжение 52,4 кВ (среднее шести пробоев по МИ-01 лаборатории) не ниже нормы 40 кВ — "
         "соответствует."},
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
         "Пробивное напряжение не ниже 50,0 кВ (пробой наступил в четырех испытаниях из пяти) по ASTM D1816, зазор 2 "
         "мм не ниже нормы 45 кВ — соответствует. Разброс не оценивался: пробой наступил не во всех испытаниях. "
         "Среднее, среднеквадратичная ошибка и коэффициент вариации включают значение без пробоя."},
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
    StoppedAfterFive(r);  // an older version judged a stopped series: shown as stopped, the byte kept
    EXPECT_EQ(EffectiveVerdict(r), kVerdictNotJudged);
    EXPECT_STREQ(VerdictShortText(r), "прервана");
}
