#include <cstdio>
#include <fstream>
#include <string>

#include "tests/unit/sim/sim_fixture.h"

using namespace simtest;

class MemoryTest : public SimTest {
protected:
    // Reads log.log the way the program does: size first, then 128-byte steps.
    std::string ReadLog() {
        std::vector<uint8_t> head = Exchange(ArgumentFrame(0x08, 0));
        EXPECT_EQ(0u, Crc(head, head.size()));
        uint32_t size = Le32(head, 8);
        std::string text;
        for (uint32_t offset = 0; offset < size; offset += 128) {
            std::vector<uint8_t> a = Exchange(ArgumentFrame(0x08, offset));
            EXPECT_EQ(0u, a.size() % 4);
            EXPECT_EQ(a[1], a.size());
            EXPECT_EQ(0u, Crc(a, a.size()));
            EXPECT_EQ(offset, Le32(a, 4));
            text.append(a.begin() + 12, a.begin() + 12 + a[2]);
        }
        return text;
    }
};

TEST_F(MemoryTest, StoredResultsIncludeEarlierOnesAndEachFinishedSeries) {
    SimConfig c;
    c.storedResults = 2;
    c.measurementCount = 2;
    c.voltages = {300, 310};
    c.preTestDelay = false;
    c.pauseMinutes = 0;
    c.hourOffset = -2;
    Start(c);
    std::vector<uint8_t> first = Exchange(StoredResultFrame(0));
    ASSERT_EQ(48u, first.size());
    EXPECT_EQ(0u, Crc(first, 48));
    EXPECT_EQ(0, first[38]);
    EXPECT_EQ(1, Le16(first, 36));
    EXPECT_NE(0u, Le32(first, 4));
    EXPECT_EQ(6, first[4 + 16]);
    EXPECT_EQ(int8_t(-2), int8_t(first[4 + 22]));
    std::vector<uint8_t> missing = Exchange(StoredResultFrame(2));
    EXPECT_EQ(1, missing[38]);
    EXPECT_EQ(2, Le16(missing, 2));

    Gen2(0x42);
    for (int i = 0; i < 2000 && SimStateCode() != 9; ++i) Advance(100);
    ASSERT_EQ(9, SimStateCode());
    std::vector<uint8_t> latest = Exchange(StoredResultFrame(2));
    EXPECT_EQ(0, latest[38]);
    EXPECT_EQ(2, Le16(latest, 36));
    EXPECT_EQ(2, latest[4 + 16]);
    EXPECT_EQ(300, Le16(latest, 4 + 4));
    EXPECT_EQ(310, Le16(latest, 4 + 6));
    EXPECT_GT(Le32(latest, 4), Le32(first, 4));
}

TEST_F(MemoryTest, InstrumentKeepsItsOwnLogOfEventsUntilErased) {
    SimConfig c;
    c.measurementCount = 1;
    c.voltages = {400};
    c.preTestDelay = false;
    Start(c);
    Gen2(0x42);
    Advance(60000);
    std::string log = ReadLog();
    EXPECT_NE(std::string::npos, log.find("POWER ON"));
    EXPECT_NE(std::string::npos, log.find("START"));
    EXPECT_NE(std::string::npos, log.find("BREAKDOWN U=40.0 kV"));
    EXPECT_NE(std::string::npos, log.find("01.12.2026 03:00:"));
    EXPECT_EQ(0, Gen2(0x09)[3]);
    EXPECT_EQ(0u, Le32(Exchange(ArgumentFrame(0x08, 0)), 8));
}

TEST_F(MemoryTest, LogFromFileIsServedExactlyInChunks) {
    std::string path = testing::TempDir() + "sim_device_log.txt";
    std::string content;
    for (int i = 0; i < 300; ++i) content += char('A' + i % 26);
    std::ofstream(path, std::ios::binary) << content;
    SimConfig c;
    c.deviceLog = path;
    Start(c);
    EXPECT_EQ(content, ReadLog());
    // Beyond the end: no data, still a proper frame.
    std::vector<uint8_t> past = Exchange(ArgumentFrame(0x08, 400));
    EXPECT_EQ(16u, past.size());
    EXPECT_EQ(0, past[2]);
    std::remove(path.c_str());
}

TEST_F(MemoryTest, MissingLogAndFileSystemErrors) {
    SimConfig c;
    c.deviceLog = "none";
    Start(c);
    EXPECT_EQ(0u, Le32(Exchange(ArgumentFrame(0x08, 0)), 8));
    c.deviceLog.clear();
    c.logError = 5;
    Start(c);
    std::vector<uint8_t> a = Exchange(ArgumentFrame(0x08, 0));
    EXPECT_EQ(5, a[3]);
    EXPECT_EQ(0, a[2]);
}
