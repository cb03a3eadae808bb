#include <gtest/gtest.h>

#include <cstring>

#include "results/statistics.h"

namespace {

TestRecord Series(std::initializer_list<uint16_t> values, bool errorOfMean = false) {
    TestRecord r{};
    int i = 0;
    for (uint16_t v : values) r.breakdownVoltage[i++] = v;
    r.valueCount = static_cast<uint8_t>(i);
    if (errorOfMean) r.settingsSnapshot.pauseAndFlags |= settings_bits::kErrorOfMean;
    return r;
}

struct Figures {
    int mean, rms, cv;
};

Figures Compute(TestRecord r) {
    ComputeSeriesStatistics(r);
    return {r.meanVoltage, r.rmsError, r.variationPercent};
}

}  // namespace

TEST(Statistics, WorkedExampleWithSampleDeviation) {
    Figures f = Compute(Series({452, 470, 501, 483, 469, 495}));
    EXPECT_EQ(f.mean, 478);
    EXPECT_EQ(f.rms, 18);
    EXPECT_EQ(f.cv, 4);
}

TEST(Statistics, WorkedExampleWithErrorOfMean) {
    Figures f = Compute(Series({452, 470, 501, 483, 469, 495}, true));
    EXPECT_EQ(f.mean, 478);
    EXPECT_EQ(f.rms, 7);
    EXPECT_EQ(f.cv, 1);
}

TEST(Statistics, EmptyAndSingleSeriesClearTheFigures) {
    TestRecord r = Series({});
    r.meanVoltage = r.rmsError = r.variationPercent = 77;
    ComputeSeriesStatistics(r);
    EXPECT_EQ(r.meanVoltage, 0);
    EXPECT_EQ(r.rmsError, 0);
    EXPECT_EQ(r.variationPercent, 0);

    Figures one = Compute(Series({523}));
    EXPECT_EQ(one.mean, 523);
    EXPECT_EQ(one.rms, 0);
    EXPECT_EQ(one.cv, 0);
}

TEST(Statistics, RoundsTheMeanHalfUpAndUsesItForTheSquares) {
    // 100.5 rounds to 101; the squares are taken about 101, not 100.5.
    Figures f = Compute(Series({100, 101}));
    EXPECT_EQ(f.mean, 101);
    EXPECT_EQ(f.rms, 1);
    EXPECT_EQ(f.cv, 1);
    EXPECT_EQ(Compute(Series({523, 524})).mean, 524);
    EXPECT_EQ(Compute(Series({100, 101, 101})).mean, 101);
}

TEST(Statistics, NoBreakdownBitIsIgnoredInTheFigures) {
    Figures f = Compute(Series({kNoBreakdownBit | 1000, 1000}));
    EXPECT_EQ(f.mean, 1000);
    EXPECT_EQ(f.rms, 0);
}

TEST(Statistics, RmsErrorIsRoundedDown) {
    // Squares 8 over n - 1 = 1: sqrt 2.83 gives 2; squares 9 give 3.
    TestRecord q8 = Series({98, 102});                  // mean 100, S = 8, Q = 8
    EXPECT_EQ(Compute(q8).rms, 2);
    TestRecord q9 = Series({100, 100, 100, 106});       // mean 102 (101.5 up), S = 4+4+4+16 = 28, Q = 9
    EXPECT_EQ(Compute(q9).rms, 3);
}

TEST(Statistics, ErrorOfMeanWithTwoValuesDividesByTwoThenOne) {
    // S = 8 -> 8 / 2 = 4 -> Q = 4 / 1 -> R = 2.
    EXPECT_EQ(Compute(Series({98, 102}, true)).rms, 2);
    // S = 18 -> 9 -> R = 3, against sqrt(18) = 4 without the bit.
    EXPECT_EQ(Compute(Series({97, 103}, true)).rms, 3);
    EXPECT_EQ(Compute(Series({97, 103})).rms, 4);
}

TEST(Statistics, MeanOfOneTenthGivesNoCoefficient) {
    Figures f = Compute(Series({0, 0, 3}));
    EXPECT_EQ(f.mean, 1);
    EXPECT_GT(f.rms, 0);
    EXPECT_EQ(f.cv, 0);
}

TEST(Statistics, CountAboveSixUsesOnlyTheSixSlots) {
    TestRecord r = Series({500, 500, 500, 500, 500, 500});
    r.valueCount = 200;
    r.meanVoltage = 0xFFFF;  // the bytes right after the slots must not count as values
    ComputeSeriesStatistics(r);
    EXPECT_EQ(r.meanVoltage, 500);
    EXPECT_EQ(r.rmsError, 0);
}

TEST(HeadStatistics, RecomputesOnlyTheThreeFiguresOfTheHead) {
    TestRecord r = Series({452, 470, 501, 483, 469, 495});
    RecordHead head;
    std::memcpy(head.bytes, &r, sizeof head.bytes);
    RecordHead before = head;
    ComputeHeadStatistics(head);
    TestRecord back{};
    std::memcpy(&back, head.bytes, sizeof head.bytes);
    EXPECT_EQ(back.meanVoltage, 478);
    EXPECT_EQ(back.rmsError, 18);
    EXPECT_EQ(std::memcmp(head.bytes, before.bytes, 20), 0);
    EXPECT_EQ(std::memcmp(head.bytes + 26, before.bytes + 26, 64 - 26), 0);
}

TEST(HeadStatistics, FollowsTheErrorOfMeanItIsGiven) {
    TestRecord r = Series({452, 470, 501, 483, 469, 495});
    RecordHead head;
    std::memcpy(head.bytes, &r, sizeof head.bytes);
    ComputeHeadStatistics(head, true);
    TestRecord back{};
    std::memcpy(&back, head.bytes, sizeof head.bytes);
    EXPECT_EQ(back.rmsError, 7);
    EXPECT_EQ(back.variationPercent, 1);
}
