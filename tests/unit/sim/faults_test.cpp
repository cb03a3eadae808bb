#include "tests/unit/sim/sim_fixture.h"

using namespace simtest;

class FaultTest : public SimTest {};

TEST_F(FaultTest, FailingWriteLosesOnlyThatCommand) {
    SimConfig c;
    c.failWriteAt = 2;
    Start(c);
    EXPECT_EQ(FT_OK, Write(ShortFrame(0x20)));
    EXPECT_NE(FT_OK, Write(ShortFrame(0x42)));
    Advance(100);
    FT_DWORD rx = 0, tx, ev;
    ASSERT_EQ(FT_OK, ft.getStatus(handle, &rx, &tx, &ev));  // link still alive
    EXPECT_EQ(44u, rx);                                      // only the first command answered
    ReadQueued();
    EXPECT_EQ(FT_OK, Write(ShortFrame(0x20)));
    EXPECT_EQ(0, SimStateCode());
}

TEST_F(FaultTest, FailingStatusQueryFailsOnce) {
    SimConfig c;
    c.failStatusAt = 2;
    Start(c);
    FT_DWORD rx, tx, ev;
    EXPECT_EQ(FT_OK, ft.getStatus(handle, &rx, &tx, &ev));
    EXPECT_NE(FT_OK, ft.getStatus(handle, &rx, &tx, &ev));
    EXPECT_EQ(FT_OK, ft.getStatus(handle, &rx, &tx, &ev));
}

TEST_F(FaultTest, DamagedCrcOnlyOnTheChosenAnswer) {
    SimConfig c;
    c.badCrcAt = 3;
    Start(c);
    for (int n = 1; n <= 5; ++n) {
        std::vector<uint8_t> a = Gen2(0x20);
        ASSERT_EQ(44u, a.size());
        if (n == 3)
            EXPECT_NE(0u, Crc(a, 44));
        else
            EXPECT_EQ(0u, Crc(a, 44)) << n;
    }
}

TEST_F(FaultTest, Gen1DamagedAnswerLosesItsHeader) {
    SimConfig c = Gen1Config();
    c.badCrcAt = 1;
    Start(c);
    std::vector<uint8_t> a = Gen1(0x20);
    ASSERT_EQ(37u, a.size());
    EXPECT_NE(0xFF, a[0]);
    EXPECT_EQ(0xFF, Gen1(0x20)[0]);
}

TEST_F(FaultTest, SplitAnswerArrivesAcrossTwoReads) {
    SimConfig c;
    c.splitAnswerAt = 1;
    Start(c);
    std::vector<uint8_t> first = Gen2(0x20);
    EXPECT_EQ(22u, first.size());
    Advance(100);
    std::vector<uint8_t> rest = ReadQueued();
    EXPECT_EQ(22u, rest.size());
    first.insert(first.end(), rest.begin(), rest.end());
    EXPECT_EQ(0u, Crc(first, 44));
}

TEST_F(FaultTest, GarbageComesBeforeTheChosenAnswer) {
    SimConfig c;
    c.garbageAt = 2;
    Start(c);
    EXPECT_EQ(44u, Gen2(0x20).size());
    std::vector<uint8_t> a = Gen2(0x20);
    ASSERT_EQ(48u, a.size());
    EXPECT_GT(a[1], 48);  // not taken for a frame
    EXPECT_EQ(0x20, a[4]);
    EXPECT_EQ(0u, Crc(std::vector<uint8_t>(a.begin() + 4, a.end()), 44));
}
