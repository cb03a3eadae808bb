#include <algorithm>

#include "tests/unit/sim/sim_fixture.h"

using namespace simtest;

namespace {

// Polls every 100 ms until pred holds or the limit passes.
template <class Pred>
std::vector<uint8_t> PollUntil(SimTest* t, std::vector<uint8_t> (SimTest::*poll)(uint8_t), uint8_t cmd,
                               uint32_t limitMs, Pred pred) {
    for (uint32_t waited = 0; waited < limitMs; waited += 100) {
        std::vector<uint8_t> a = (t->*poll)(cmd);
        if (pred(a)) return a;
    }
    return {};
}

}  // namespace

class SeriesTest : public SimTest {
public:
    using SimTest::Gen1;
    using SimTest::Gen2;
};

TEST_F(SeriesTest, Gen2SeriesRunsThroughItsPhasesAndFinishes) {
    SimConfig c;
    c.voltages = {452, 470, 488, 501, 515, 530};
    c.pauseMinutes = 0;
    c.preTestDelay = false;
    Start(c);
    std::vector<uint8_t> idle = Gen2(0x20);
    ASSERT_EQ(44u, idle.size());
    EXPECT_NE(0, idle[2]);
    EXPECT_EQ(0, idle[3]);
    EXPECT_EQ(2, idle[8]);

    Gen2(0x42);
    std::vector<uint8_t> s = Gen2(0x20);
    EXPECT_EQ(0, s[2]);
    EXPECT_EQ(1, s[3]);  // lifting
    EXPECT_EQ(6, s[4]);

    std::vector<int> codes;
    std::vector<uint8_t> last;
    unsigned highestU1 = 0;
    for (int i = 0; i < 3000 && (last.empty() || last[3] != 9); ++i) {
        last = Gen2(0x20);
        ASSERT_EQ(44u, last.size());
        ASSERT_EQ(0u, Crc(last, 44));
        if (codes.empty() || codes.back() != last[3]) codes.push_back(last[3]);
        if (last[3] == 3) highestU1 = std::max<unsigned>(highestU1, Le16(last, 22));
    }
    ASSERT_EQ(9, last[3]);
    EXPECT_GT(highestU1, 500u);  // U1 follows the rising voltage
    EXPECT_EQ(0, last[2]);
    EXPECT_EQ(6, last[5]);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.voltages[i], Le16(last, 10 + 2 * i));
    EXPECT_EQ((std::vector<int>{1, 3, 7, 3, 7, 3, 7, 3, 7, 3, 7, 3, 7, 5, 9}), codes);
    // Then back to idle, values kept.
    Advance(20000);
    std::vector<uint8_t> after = Gen2(0x20);
    EXPECT_EQ(0, after[3]);
    EXPECT_NE(0, after[2]);
    EXPECT_EQ(6, after[5]);
}

TEST_F(SeriesTest, RiseTakesVoltageOverRateAndPauseSeparatesBreakdowns) {
    SimConfig c;
    c.voltages = {400};  // 40 kV at 2 kV/s: 20 s
    c.measurementCount = 2;
    c.pauseMinutes = 1;
    c.preTestDelay = false;
    c.liftMs = 1000;
    c.breakdownMs = 1000;
    c.stirMs = 10000;
    Start(c);
    // Each exchange takes 100 ms; the series starts at the START write.
    Gen2(0x42);
    Advance(900);  // lift done at 1 s
    EXPECT_EQ(3, Gen2(0x20)[3]);
    Advance(18800);
    std::vector<uint8_t> rising = Gen2(0x20);  // 18.9 s into the rise
    EXPECT_EQ(3, rising[3]);
    EXPECT_NEAR(378, Le16(rising, 22), 1);
    Advance(1000);  // 21 s: broke down at 40 kV
    std::vector<uint8_t> broke = Gen2(0x20);
    EXPECT_EQ(7, broke[3]);
    EXPECT_EQ(1, broke[5]);
    EXPECT_EQ(400, Le16(broke, 10));
    Advance(900);
    EXPECT_EQ(5, Gen2(0x20)[3]);  // 22 s: stirring
    Advance(9900);
    EXPECT_EQ(2, Gen2(0x20)[3]);  // 32 s: still
    Advance(49800);
    EXPECT_EQ(2, Gen2(0x20)[3]);  // 81.9 s: the minute is not over
    EXPECT_EQ(3, Gen2(0x20)[3]);  // 82 s: next rise
}

TEST_F(SeriesTest, SpeedDividesDurations) {
    SimConfig c;
    c.voltages = {400};
    c.measurementCount = 1;
    c.preTestDelay = false;
    c.liftMs = 1000;
    c.speed = 10;
    Start(c);
    Gen2(0x42);
    Advance(100 + 2000);  // 0.1 s lift + 2 s rise at ten times the pace
    std::vector<uint8_t> s = Gen2(0x20);
    EXPECT_EQ(1, s[5]);
}

TEST_F(SeriesTest, FinishedStateOutlastsSeveralPollsAtAnySpeed) {
    SimConfig c;
    c.voltages = {400};
    c.measurementCount = 1;
    c.speed = 1000;
    Start(c);
    Gen2(0x42);
    std::vector<uint8_t> s;
    int polls = 0;
    for (int i = 0; i < 100; ++i) {
        s = Gen2(0x20);
        if (s[3] == 9) ++polls;
        if (polls && s[3] != 9) break;
    }
    EXPECT_GE(polls, 5);
    EXPECT_EQ(0, s[3]);
}

TEST_F(SeriesTest, VoltageAboveMaximumIsReportedAsNoBreakdown) {
    SimConfig c;
    c.voltages = {700, 0x8000 | 300};
    c.maxVoltage = 600;
    c.measurementCount = 2;
    c.pauseMinutes = 0;
    c.preTestDelay = false;
    Start(c);
    Gen2(0x42);
    std::vector<uint8_t> s;
    bool held = false;
    for (int i = 0; i < 1000; ++i) {
        s = Gen2(0x20);
        if (s[3] == 4) {
            held = true;
            EXPECT_EQ(600, Le16(s, 22));
        }
        if (s[5] == 2) break;
    }
    EXPECT_TRUE(held);
    EXPECT_EQ(0x8000 | 600, Le16(s, 10));
    EXPECT_EQ(0x8000 | 600, Le16(s, 12));
}

TEST_F(SeriesTest, Gen2StopEndsInState91) {
    SimConfig c;
    c.voltages = {500};
    c.preTestDelay = false;
    c.liftMs = 100;
    Start(c);
    Gen2(0x42);
    Advance(30000);  // first breakdown at 25 s
    EXPECT_EQ(1, Gen2(0x20)[5]);
    Gen2(0x41);
    std::vector<uint8_t> s = PollUntil(this, &SeriesTest::Gen2, 0x20, 20000,
                                       [](const std::vector<uint8_t>& a) { return a.size() == 44 && a[3] == 91; });
    ASSERT_EQ(44u, s.size());
    EXPECT_EQ(0, s[2]);
    EXPECT_EQ(1, s[5]);
    EXPECT_EQ(2, s[8]);
}

TEST_F(SeriesTest, Gen1SeriesReportsRisingValueInNextFreeSlot) {
    SimConfig c = Gen1Config();
    c.voltages = {300, 320};
    c.measurementCount = 2;
    c.pauseMinutes = 0;
    c.preTestDelay = false;
    c.liftMs = 1000;
    c.breakdownMs = 1000;
    c.lowerMs = 1000;
    Start(c);
    std::vector<uint8_t> idle = Gen1(0x20);
    ASSERT_EQ(37u, idle.size());
    EXPECT_EQ(0x20, idle[4]);  // door closed, nothing else
    EXPECT_EQ(0x42, Gen1(0x42)[3]);
    std::vector<uint8_t> lift = Gen1(0x20);
    EXPECT_EQ(0x63, lift[4]);  // IzmerMode, DoorOk, NapravlUp, MotorOn
    Advance(10000);            // 1 s lift, then 9 s at 2 kV/s
    std::vector<uint8_t> r = Gen1(0x20);
    EXPECT_EQ(0x6C, r[4]);  // IzmerMode, DoorOk, HightVoltOn, SelectLatr
    EXPECT_EQ(0, r[9]);
    EXPECT_NEAR(182, Le16(r, 13), 3);
    EXPECT_EQ(2, r[6]);
    Advance(6000);
    std::vector<uint8_t> b = Gen1(0x20);
    EXPECT_EQ(0x70, b[4]);  // Proboy
    EXPECT_EQ(1, b[9]);
    EXPECT_EQ(300, Le16(b, 13));
    Advance(5000);
    std::vector<uint8_t> r2 = Gen1(0x20);
    EXPECT_EQ(1, r2[9]);
    EXPECT_EQ(300, Le16(r2, 13));
    EXPECT_GT(Le16(r2, 15), 0);  // second value rising
    EXPECT_FALSE(r2[4] & 0x10);
    Advance(20000);
    std::vector<uint8_t> end = Gen1(0x20);
    EXPECT_EQ(2, end[9]);
    EXPECT_EQ(320, Le16(end, 15));
    EXPECT_FALSE(end[4] & 0x40);  // measuring mode over
    EXPECT_FALSE(end[4] & 0x01);  // vessel down
}
