#include <string>

#include "tests/unit/sim/sim_fixture.h"

using namespace simtest;

class AnswerTest : public SimTest {};

TEST_F(AnswerTest, Gen2AnswersHaveTheirTypeLengthAndValidCrc) {
    Start(SimConfig());
    struct Expect {
        uint8_t command;
        size_t length;
    };
    for (Expect e : {Expect{0x00, 28}, Expect{0x01, 8}, Expect{0x02, 72}, Expect{0x09, 8}, Expect{0x20, 44},
                     Expect{0x44, 8}, Expect{0x48, 8}, Expect{0x50, 8}, Expect{0x60, 8}}) {
        std::vector<uint8_t> a = Gen2(e.command);
        ASSERT_EQ(e.length, a.size()) << int(e.command);
        EXPECT_EQ(e.command, a[0]);
        EXPECT_EQ(e.length, a[1]);
        EXPECT_EQ(0u, Crc(a, a.size())) << int(e.command);
    }
}

TEST_F(AnswerTest, Gen2VersionSettingsAndEraseFields) {
    SimConfig c;
    c.version = "V9.99.01";
    c.measurementCount = 5;
    c.pauseMinutes = 3;
    c.preTestDelay = true;
    c.riseRate = 25;
    c.maxVoltage = 800;
    c.errorOfMean = true;
    c.sound = false;
    c.eraseError = 7;
    Start(c);
    std::vector<uint8_t> v = Gen2(0x00);
    EXPECT_EQ("V9.99.01", std::string(v.begin() + 15, v.begin() + 23));
    std::vector<uint8_t> s = Gen2(0x02);
    const uint8_t* block = s.data() + 4;
    EXPECT_EQ(5, block[16]);
    EXPECT_EQ(3, block[17]);
    EXPECT_EQ(1, block[18]);
    EXPECT_EQ(25, block[19]);
    EXPECT_EQ(80, block[20]);
    EXPECT_EQ(1, block[21]);
    EXPECT_EQ(0, block[22]);
    EXPECT_EQ(7, Gen2(0x09)[3]);
}

TEST_F(AnswerTest, Gen2SettingsFrameIsTakenWholeButNotWhileMeasuring) {
    Start(SimConfig());
    std::vector<uint8_t> before = Gen2(0x02);
    std::vector<uint8_t> frame(72, 0);
    frame[0] = 0x05;
    frame[1] = 0x48;
    std::copy(before.begin() + 4, before.begin() + 68, frame.begin() + 4);
    frame[4 + 16] = 2;
    frame[4 + 19] = 30;
    frame[4 + 20] = 90;
    frame[4 + 40] = 0x11;  // a byte the program only carries
    uint32_t crc = Crc(frame, 68);
    for (int k = 0; k < 4; ++k) frame[68 + k] = uint8_t(crc >> (8 * k));

    std::vector<uint8_t> damaged = frame;
    damaged[30] ^= 0x04;
    EXPECT_TRUE(Exchange(damaged).empty());  // no answer to a bad frame
    EXPECT_EQ(6, Gen2(0x02)[4 + 16]);

    // Arriving in two writes still makes one frame.
    Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 30));
    EXPECT_EQ(8u, Exchange(std::vector<uint8_t>(frame.begin() + 30, frame.end())).size());
    std::vector<uint8_t> after = Gen2(0x02);
    EXPECT_EQ(2, after[4 + 16]);
    EXPECT_EQ(30, after[4 + 19]);
    EXPECT_EQ(90, after[4 + 20]);
    EXPECT_EQ(0x11, after[4 + 40]);
    EXPECT_EQ(2, Gen2(0x20)[4]);

    Gen2(0x42);
    frame[4 + 16] = 4;
    crc = Crc(frame, 68);
    for (int k = 0; k < 4; ++k) frame[68 + k] = uint8_t(crc >> (8 * k));
    Exchange(frame);
    EXPECT_EQ(2, Gen2(0x02)[4 + 16]);
}

TEST_F(AnswerTest, Gen2ValueCountOverrideShowsInStatus) {
    SimConfig c;
    c.statusValueCountOverride = 9;
    Start(c);
    EXPECT_EQ(9, Gen2(0x20)[5]);
}

TEST_F(AnswerTest, Gen1AnswersHaveExactLengthsAndBigEndianSettings) {
    SimConfig c = Gen1Config();
    c.measurementCount = 4;
    c.tableLift = 3;
    c.pauseMinutes = 2;
    c.preTestDelay = false;
    c.sound = true;
    c.errorOfMean = true;
    c.riseRate = 20;
    c.maxVoltage = 950;
    c.calibrationConstant = 0x1234;
    Start(c);
    std::vector<uint8_t> v = Gen1(0x00);
    ASSERT_EQ(13u, v.size());
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x00}), std::vector<uint8_t>(v.begin(), v.begin() + 4));
    std::vector<uint8_t> s = Gen1(0x02);
    ASSERT_EQ(25u, s.size());
    EXPECT_EQ(0x34, s[5]);
    EXPECT_EQ(0xA2, s[6]);
    EXPECT_EQ(0, s[7]);
    EXPECT_EQ(20, s[8]);
    EXPECT_EQ(950 >> 8, s[9]);
    EXPECT_EQ(950 & 0xFF, s[10]);
    EXPECT_EQ(0x12, s[15]);
    EXPECT_EQ(0x34, s[16]);
    EXPECT_EQ(7u, Gen1(0x13).size());
    std::vector<uint8_t> key = Gen1(0x44);
    ASSERT_EQ(5u, key.size());
    EXPECT_EQ(0x44, key[3]);
    EXPECT_TRUE(Gen1(0x77).empty());
    // Several commands in one write are answered in order.
    Write({0x00, 0x13});
    Advance(100);
    EXPECT_EQ(20u, ReadQueued().size());
}

TEST_F(AnswerTest, Gen1ResetCounterCanWrapPast255) {
    SimConfig c = Gen1Config();
    c.resetCounter = 254;
    c.resetEveryMs = 1000;
    Start(c);
    std::vector<uint8_t> r = Gen1(0x13);
    EXPECT_EQ(1, r[5]);
    EXPECT_EQ(254, r[6]);
    Advance(2900);
    r = Gen1(0x13);
    EXPECT_EQ(2, r[5]);
    EXPECT_EQ(1, r[6]);  // three resets: 255, 0, 1
}

TEST_F(AnswerTest, Gen1MenuStepsThroughItemsAndSelectChangesValues) {
    SimConfig c = Gen1Config();
    c.measurementCount = 6;
    c.pauseMinutes = 1;
    Start(c);
    EXPECT_EQ(0x80, Gen1(0x60)[4] & 0x80);  // MenuMode
    Gen1(0x50);                             // count 6 -> 1
    EXPECT_EQ(1, Gen1(0x02)[5] & 0x0F);
    Gen1(0x42);
    EXPECT_EQ(0, Gen1(0x20)[4] & 0x40);  // no START inside the menu
    Gen1(0x48);
    Gen1(0x50);
    Gen1(0x50);  // pause 1 -> 3
    EXPECT_EQ(3, Gen1(0x02)[6] & 0x0F);
    Gen1(0x48);
    Gen1(0x50);  // delay toggled off
    EXPECT_EQ(0, Gen1(0x02)[6] & 0x40);
    EXPECT_EQ(0, Gen1(0x41)[4] & 0x80);  // STOP leaves the menu
    Gen1(0x50);
    EXPECT_EQ(1, Gen1(0x02)[5] & 0x0F);  // SELECT outside the menu does nothing
}

TEST_F(AnswerTest, DoorOpenRefusesStart) {
    SimConfig c = Gen1Config();
    c.doorOpen = true;
    Start(c);
    std::vector<uint8_t> a = Gen1(0x42);
    EXPECT_EQ(0, a[4] & 0x20);
    EXPECT_EQ(0, Gen1(0x20)[4] & 0x40);
}
