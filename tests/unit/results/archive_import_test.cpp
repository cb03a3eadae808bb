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
    const uint32_t at = k31Jan2019 + 3600;  // 03:00 local with the offset of 2 h
    const std::vector<uint16_t> two = {450, 0x8000 | 600}, three = {450, 0x8000 | 600, 512};
    struct Case {
        const char* what;
        StoredResultEntry stored, archived;
        bool same;
    };
    const Case cases[] = {
        {"exactly 24 h later", Stored(at, two, 2), Stored(at + 86400, two, 2), true},
        {"exactly 24 h earlier", Stored(at, two, 2), Stored(at - 86400, two, 2), true},
        {"24 h + 1 s", Stored(at, two, 2), Stored(at + 86401, two, 2), false},
        {"the offset counts", Stored(at, two, 2), Stored(at + 86400, two, 3), false},
        {"one value, eight days off", Stored(at, {450}), Stored(at + 8 * 86400, {450}), false},
        {"three values, eight days off", Stored(at, three, 2), Stored(at + 8 * 86400, three, 2), true},
        {"three values, years off", Stored(at, three), Stored(at + 900 * 86400, three, -5), true},
        {"one value different", Stored(at, two, 2), Stored(at, {450, 0x8000 | 601}, 2), false},
        {"three values, one different", Stored(at, three), Stored(at + 8 * 86400, {450, 0x8000 | 600, 513}), false},
        {"order swapped", Stored(at, three), Stored(at, {0x8000 | 600, 450, 512}), false},
        {"no-breakdown bit", Stored(at, two, 2), Stored(at, {450, 600}, 2), false},
        {"one more value", Stored(at, two, 2), Stored(at, {450, 0x8000 | 600, 0}, 2), false},
    };
    for (const Case& c : cases) {
        TestRecord r;
        StoredResultRecord(c.archived, &r);
        EXPECT_EQ(SameSeries(r, c.stored), c.same) << c.what;
    }
}

TEST(ArchiveImport, ColumnShowsTheArchivedDateWhenTheClocksDiffer) {
    struct Case {
        const char* what;
        ArchivedMatch match;
        const char* text;
    };
    const SystemTime archivedAt{2026, 12, 3, 9, 14, 5, 0, 0};
    const Case cases[] = {
        {"not held", {false, 0, archivedAt}, ""},
        {"same moment", {true, 0, archivedAt}, "да"},
        {"a day apart", {true, 86400, archivedAt}, "да"},
        {"a day and a second", {true, 86401, archivedAt}, "9.12.2026"},
    };
    for (const Case& c : cases) {
        char text[32];
        ArchivedCellText(c.match, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.what;
    }

    // Of two archived copies the nearest in time gives the date.
    fake::Reset();
    const uint32_t first = 1796083200;  // 1.12.2026 0:00 on the instrument
    const StoredResultEntry stored = Stored(first + 3600, {452, 470, 501});
    for (uint32_t days : {20u, 8u}) {
        TestRecord r;
        StoredResultRecord(Stored(first + days * 86400, {452, 470, 501}), &r);
        r.marks.origin = 0;
        ASSERT_TRUE(ArchiveAppend(r));
    }
    const StoredResultEntry* entries[] = {&stored};
    ArchivedMatch found[1];
    ASSERT_TRUE(FindArchived(entries, 1, found));
    char text[32];
    ArchivedCellText(found[0], text, sizeof text);
    EXPECT_STREQ(text, "9.12.2026");
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
