#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "results/archive.h"

namespace {

const char kKey[] = "тихий ветер над рекой- шум листв";

TestRecord SampleRecord(uint8_t seed) {
    TestRecord r;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&r);
    for (size_t i = 0; i < sizeof r; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed);
    r.valueCount = 3;
    return r;
}

std::vector<uint8_t>& LogDat() { return fake::FileBytes("log.dat"); }

class ArchiveAppendTest : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
};

}  // namespace

TEST(ArchiveCrc16, CheckValueAndEmptyInput) {
    const char* digits = "123456789";
    EXPECT_EQ(ArchiveCrc16(reinterpret_cast<const uint8_t*>(digits), 9), 0x29B1);
    EXPECT_EQ(ArchiveCrc16(nullptr, 0), 0xFFFF);
}

TEST(ArchiveScramble, XorsWithKeyAndUndoesItself) {
    uint8_t zeros[40] = {};
    ArchiveScramble(zeros, sizeof zeros);
    for (size_t i = 0; i < sizeof zeros; ++i) EXPECT_EQ(zeros[i], static_cast<uint8_t>(kKey[i % 32])) << i;
    ArchiveScramble(zeros, sizeof zeros);
    for (uint8_t b : zeros) EXPECT_EQ(b, 0);
}

TEST(ArchiveVote, RepairsOneCopyButNotTheSameBitInTwo) {
    TestRecord r = SampleRecord(1);
    uint8_t group[kArchiveGroupSize];
    for (int c = 0; c < 3; ++c) std::memcpy(group + c * sizeof r, &r, sizeof r);
    for (size_t i = 0; i < sizeof r; i += 5) group[i] ^= 0xFF;  // copy A mangled
    group[2 * sizeof r + 9] ^= 0x10;                             // and copy C elsewhere
    ArchiveVote(group);
    EXPECT_EQ(std::memcmp(group, &r, sizeof r), 0);

    group[sizeof r + 100] ^= 0x04;
    group[2 * sizeof r + 100] ^= 0x04;
    ArchiveVote(group);
    EXPECT_EQ(group[100], static_cast<uint8_t>(reinterpret_cast<uint8_t*>(&r)[100] ^ 0x04));
}

TEST_F(ArchiveAppendTest, NewFileHoldsOneGroupOfThreeScrambledCopies) {
    TestRecord r = SampleRecord(3);
    ASSERT_TRUE(ArchiveAppend(r));
    // crc covers bytes 0..3411 and is written back into the caller's record.
    EXPECT_EQ(r.crc, ArchiveCrc16(reinterpret_cast<const uint8_t*>(&r), 3412));

    const std::vector<uint8_t>& file = LogDat();
    ASSERT_EQ(file.size(), 10248u);
    EXPECT_EQ(std::memcmp(&file[0], &file[3416], 3416), 0);
    EXPECT_EQ(std::memcmp(&file[0], &file[6832], 3416), 0);
    // Each copy starts the key afresh: byte 3416 uses key byte 0, not 24.
    const uint8_t* plain = reinterpret_cast<const uint8_t*>(&r);
    EXPECT_EQ(file[3416], static_cast<uint8_t>(plain[0] ^ kKey[0]));
    EXPECT_EQ(file[3416 + 33], static_cast<uint8_t>(plain[33] ^ kKey[1]));
    EXPECT_TRUE(fake::UiCallsOf("MessageBox").empty());
}

TEST_F(ArchiveAppendTest, DamagedTailIsMendedSoTheGroupStartsOnAGroupBoundary) {
    // 100 bytes hold no whole copy: nothing to keep, and appending after them
    // would put this series out of step with every reader.
    LogDat().assign(100, 0xAB);
    TestRecord r = SampleRecord(4);
    ASSERT_TRUE(ArchiveAppend(r));
    ASSERT_EQ(LogDat().size(), 10248u);
    uint8_t group[kArchiveGroupSize];
    std::memcpy(group, &LogDat()[0], sizeof group);
    TestRecord back;
    ArchiveDecodeGroup(group, &back);
    EXPECT_EQ(ArchiveRecordCrc(back), back.crc);
    EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
}

TEST_F(ArchiveAppendTest, WaitsForABusyFileInsteadOfDroppingTheSeries) {
    fake::SetFileLocked("log.dat", true);
    fake::OnTimeAdvanced([](uint32_t now) {
        if (now >= 600) fake::SetFileLocked("log.dat", false);
    });
    TestRecord r = SampleRecord(5);
    EXPECT_TRUE(ArchiveAppend(r));
    EXPECT_EQ(LogDat().size(), 10248u);
    EXPECT_GE(fake::Now(), 600u);
    EXPECT_TRUE(fake::UiCallsOf("MessageBox").empty());
}

TEST_F(ArchiveAppendTest, FailedWritesAreRetriedWithoutLeavingATornGroup) {
    TestRecord first = SampleRecord(6);
    ASSERT_TRUE(ArchiveAppend(first));
    fake::FailNextWrites(2);
    TestRecord second = SampleRecord(7);
    EXPECT_TRUE(ArchiveAppend(second));
    EXPECT_EQ(LogDat().size(), 2 * 10248u);
}

TEST_F(ArchiveAppendTest, SeriesThatCannotBeStoredIsReportedAndFileUnchanged) {
    TestRecord first = SampleRecord(8);
    ASSERT_TRUE(ArchiveAppend(first));
    fake::FailNextWrites(1000);
    TestRecord second = SampleRecord(9);
    uint32_t before = fake::Now();
    EXPECT_FALSE(ArchiveAppend(second));
    EXPECT_EQ(LogDat().size(), 10248u);
    uint32_t waited = fake::Now() - before;
    EXPECT_GE(waited, 1000u);
    EXPECT_LE(waited, 3000u);

    auto boxes = fake::UiCallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].window, ui::Window::Main);
    EXPECT_EQ(boxes[0].caption, "Ошибка!");
    EXPECT_NE(boxes[0].text.find("не удалось сохранить в архиве"), std::string::npos);
}

// The box names the system's cause, and nothing of the refused group stays.
TEST_F(ArchiveAppendTest, FailureNamesItsCauseAndLeavesTheFileWhole) {
    enum Fault { DiskFull, DiskAlmostFull, Denied, Locked, WriteFault };
    const struct { Fault fault; const char* cause; } cases[] = {
        {DiskFull, "на диске нет места"},          {DiskAlmostFull, "на диске нет места"},
        {Denied, "нет доступа к файлу"},           {Locked, "файл занят другой программой"},
        {WriteFault, "ошибка записи на диск"},
    };
    for (const auto& c : cases) {
        fake::Reset();
        TestRecord first = SampleRecord(11);
        ASSERT_TRUE(ArchiveAppend(first));
        if (c.fault == DiskFull) fake::SetFreeSpace(0);
        if (c.fault == DiskAlmostFull) fake::SetFreeSpace(5000);  // part of a group would fit
        if (c.fault == Denied) fake::SetAccessDenied("log.dat", true);
        if (c.fault == Locked) fake::SetFileLocked("log.dat", true);
        if (c.fault == WriteFault) fake::FailNextWrites(1000);
        TestRecord second = SampleRecord(12);
        EXPECT_FALSE(ArchiveAppend(second)) << c.cause;
        EXPECT_EQ(LogDat().size(), 10248u) << c.cause;
        auto boxes = fake::UiCallsOf("MessageBox");
        ASSERT_EQ(boxes.size(), 1u) << c.cause;
        EXPECT_EQ(boxes[0].text,
                  std::string("Результаты испытания не удалось сохранить в архиве (файл log.dat): ") + c.cause +
                      ".\nПротокол этого испытания можно по-прежнему напечатать или сохранить.");
    }
}

TEST_F(ArchiveAppendTest, FileLockedForGoodIsReported) {
    fake::SetFileLocked("log.dat", true);
    TestRecord r = SampleRecord(10);
    EXPECT_FALSE(ArchiveAppend(r));
    EXPECT_FALSE(fake::FileExists("log.dat"));
    EXPECT_EQ(fake::UiCallsOf("MessageBox").size(), 1u);
}

// The crc takes eight bytes a step; every length and alignment must give
// what the byte-by-byte definition gives, or stored series stop verifying.
TEST(ArchiveCrc, EightBytesAStepAgreesWithTheBitwiseDefinition) {
    auto bitwise = [](const uint8_t* p, size_t n) {
        uint16_t crc = 0xFFFF;
        for (size_t i = 0; i < n; ++i) {
            crc ^= static_cast<uint16_t>(p[i] << 8);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
        }
        return crc;
    };
    uint8_t bytes[64];
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    for (size_t start : {0, 1, 3})
        for (size_t n = 0; n + start <= sizeof bytes; ++n)
            EXPECT_EQ(ArchiveCrc16(bytes + start, n), bitwise(bytes + start, n)) << start << " " << n;
    EXPECT_EQ(ArchiveCrc16(reinterpret_cast<const uint8_t*>("123456789"), 9), 0x29B1);  // CRC-16/CCITT-FALSE
}
