// Taking stored results into the archive once, and moving log.dat aside.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "results/archive.h"
#include "results/archive_aside.h"
#include "results/archive_import.h"

namespace {

constexpr uint32_t k31Jan2019 = 1548892800;  // 00:00

StoredResultEntry Stored(uint32_t stamp, std::vector<uint16_t> volts, int8_t offset = 0) {
    StoredResultEntry e{};
    e.timeStamp = stamp;
    for (size_t i = 0; i < volts.size() && i < 6; ++i) e.voltage[i] = volts[i];
    e.count = static_cast<uint8_t>(volts.size());
    e.hourOffset = offset;
    return e;
}

std::vector<TestRecord> Archived() {
    std::vector<TestRecord> out;
    const std::vector<uint8_t>& bytes = fake::FileBytes("log.dat");
    for (size_t at = 0; at + kArchiveGroupSize <= bytes.size(); at += kArchiveGroupSize) {
        TestRecord r;
        ArchiveDecodeGroup(bytes.data() + at, &r);
        out.push_back(r);
    }
    return out;
}

}  // namespace

TEST(ArchiveImport, AlreadyInTheArchiveAtTheEdges) {
    const StoredResultEntry base = Stored(k31Jan2019 + 3600, {450, 0x8000 | 600}, 2);  // 03:00 local
    struct Case {
        const char* what;
        StoredResultEntry archived;
        bool same;
    };
    const Case cases[] = {
        {"exactly 24 h later", Stored(k31Jan2019 + 3600 + 86400, {450, 0x8000 | 600}, 2), true},
        {"exactly 24 h earlier", Stored(k31Jan2019 + 3600 - 86400, {450, 0x8000 | 600}, 2), true},
        {"24 h + 1 s", Stored(k31Jan2019 + 3600 + 86401, {450, 0x8000 | 600}, 2), false},
        {"the offset counts", Stored(k31Jan2019 + 3600 + 86400, {450, 0x8000 | 600}, 3), false},
        {"one value different", Stored(k31Jan2019 + 3600, {450, 0x8000 | 601}, 2), false},
        {"order swapped", Stored(k31Jan2019 + 3600, {0x8000 | 600, 450}, 2), false},
        {"no-breakdown bit", Stored(k31Jan2019 + 3600, {450, 600}, 2), false},
        {"one more value", Stored(k31Jan2019 + 3600, {450, 0x8000 | 600, 0}, 2), false},
    };
    for (const Case& c : cases) {
        TestRecord r;
        StoredResultRecord(c.archived, &r);
        EXPECT_EQ(SameSeries(r, base), c.same) << c.what;
    }
}

TEST(ArchiveImport, AppendsTheMissingOnesOnce) {
    fake::Reset();
    StoredResultEntry a = Stored(k31Jan2019, {452, 470, 501, 483, 469, 495}, 3);
    a.errorOfMean = 1;
    const StoredResultEntry b = Stored(k31Jan2019 + 600, {300});
    const StoredResultEntry* both[] = {&a, &b, &a};
    ImportCounts first = ImportStoredResults(both, 3);
    EXPECT_EQ(first.added, 2u);
    EXPECT_EQ(first.skipped, 1u);  // the same result chosen twice
    ImportCounts again = ImportStoredResults(both, 2);
    EXPECT_EQ(again.added, 0u);
    EXPECT_EQ(again.skipped, 2u);
    char text[128];
    ImportSummaryText(again, text, sizeof text);
    EXPECT_STREQ(text, "В архив добавлено результатов: 0.\nУже были в архиве и пропущены: 2.");

    const std::vector<TestRecord> records = Archived();
    ASSERT_EQ(records.size(), 2u);
    const TestRecord& r = records[0];
    EXPECT_EQ(ArchiveRecordCrc(r), r.crc);
    EXPECT_EQ(r.valueCount, 6);
    EXPECT_EQ(0, std::memcmp(r.breakdownVoltage, a.voltage, sizeof a.voltage));
    EXPECT_EQ(r.meanVoltage, 478);
    EXPECT_EQ(r.rmsError, 7);  // by the error of the mean, as the instrument's list shows
    EXPECT_EQ(r.testTime.wYear, 2019);
    EXPECT_EQ(r.testTime.wDay, 31);
    EXPECT_EQ(r.testTime.wHour, 3);
    EXPECT_EQ(r.testTime.wDayOfWeek, 4);  // a Thursday
    EXPECT_EQ(r.marks.origin, origin_bits::kFromInstrumentMemory);
    EXPECT_EQ(r.marks.amendment, 0);
    EXPECT_EQ(r.verdict.present, 0);
    const TestRecord zero{};
    EXPECT_EQ(0, std::memcmp(r.protocolText, zero.protocolText, sizeof zero.protocolText));
    EXPECT_EQ(0, std::memcmp(&r.settingsSnapshot, &zero.settingsSnapshot, sizeof zero.settingsSnapshot));
}

TEST(ArchiveAside, DatedNameNeverReplacing) {
    fake::Reset();
    const SystemTime at{2026, 12, 2, 8, 23, 45, 1, 0};
    char name[kArchiveAsideNameSize];
    ArchiveAsideName(at, 1, name, sizeof name);
    EXPECT_STREQ(name, "log-20261208-234501.dat");
    fake::FileBytes("log.dat") = {1, 2, 3};
    fake::FileBytes("log-20261208-234501.dat") = {9};
    ArchiveAsideResult moved = ArchiveMoveAside(at);
    EXPECT_TRUE(moved.moved);
    EXPECT_STREQ(moved.name, "log-20261208-234501-2.dat");
    EXPECT_EQ(fake::FileBytes("log-20261208-234501-2.dat"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(fake::FileBytes("log-20261208-234501.dat"), (std::vector<uint8_t>{9}));
    EXPECT_TRUE(fake::FileBytes("log.dat").empty());  // the archive starts again
    fake::Reset();
    EXPECT_TRUE(ArchiveMoveAside(at).noArchive);

    fake::FileBytes("log.dat") = {1, 2, 3};
    fake::SetFileLocked("log.dat", true);
    ArchiveAsideResult busy = ArchiveMoveAside(at);
    EXPECT_FALSE(busy.moved);
    EXPECT_EQ(busy.error, platform::kErrorSharingViolation);
    EXPECT_EQ(fake::FileBytes("log.dat"), (std::vector<uint8_t>{1, 2, 3}));
}
