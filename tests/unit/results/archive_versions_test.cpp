// Grouping a series' versions and telling mended texts from filler bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "results/archive_versions.h"

namespace {

TestRecord Series(uint16_t minute, uint16_t amendment, uint8_t origin = 0) {
    TestRecord r;
    std::memset(&r, 0x5A, sizeof r);
    r.valueCount = 2;
    r.breakdownVoltage[0] = 500;
    r.breakdownVoltage[1] = 510;
    r.testTime = SystemTime{2026, 12, 2, 8, 10, minute, 0, 0};
    r.marks = RecordMarks{};
    r.marks.amendment = amendment;
    r.marks.origin = origin;
    std::strcpy(r.protocolText[0], "П-1");
    return r;
}

TEST(ArchiveVersions, GroupsEachSeriesWithItsAmendmentsInFileOrder) {
    // Series A unamended, B with one amendment, C with three, D from the
    // instrument's memory with one; amendments interleaved with other series.
    const std::vector<TestRecord> file = {Series(1, 0), Series(2, 0), Series(3, 0), Series(2, 1), Series(3, 1),
                                          Series(4, 0, 1), Series(3, 2), Series(4, 1, 1), Series(3, 3)};
    ArchiveVersions v;
    std::vector<uint32_t> starts;
    for (uint32_t i = 0; i < file.size(); ++i)
        if (v.Add(file.data(), i)) starts.push_back(i);
    EXPECT_EQ(starts, (std::vector<uint32_t>{0, 1, 2, 5}));
    struct Want { uint32_t first, newest; std::vector<uint32_t> versions; };
    const Want wants[] = {{0, 0, {0}}, {1, 3, {1, 3}}, {2, 8, {2, 4, 6, 8}}, {5, 7, {5, 7}}};
    for (const Want& w : wants) {
        EXPECT_EQ(v.Newest(w.first), w.newest) << w.first;
        EXPECT_EQ(v.Versions(w.first), w.versions) << w.first;
        for (uint32_t k : w.versions) EXPECT_EQ(v.FirstOf(k), w.first);
    }
}

TEST(ArchiveVersions, TextsDifferOnlyBeforeTheTerminator) {
    struct Case { const char* a; const char* b; bool fillDiffers; bool differ; };
    const Case cases[] = {
        {"П-1", "П-1", true, false}, {"П-1", "П-2", false, true}, {"П-1", "П-12", true, true}, {"", "", true, false}};
    for (const Case& c : cases) {
        TestRecord a = Series(1, 0), b = Series(1, 0);
        std::strcpy(a.protocolText[5], c.a);
        std::strcpy(b.protocolText[5], c.b);
        if (c.fillDiffers) b.protocolText[5][200] = 'x';
        EXPECT_EQ(TextsDiffer(a, b), c.differ) << c.a << " / " << c.b;
    }
}

TEST(ArchiveVersions, AmendmentKeepsTheSeriesAndCountsOn) {
    TestRecord newest = Series(3, 2, origin_bits::kFromInstrumentMemory), form = newest, amended;
    newest.verdict.present = 1;
    std::strcpy(form.protocolText[1], "Масло ГК");
    const SystemTime at{2026, 12, 8, 8, 23, 27, 5, 0};
    ASSERT_TRUE(AmendmentNeeded(form, newest, SecondsSince2000(at), &amended));
    EXPECT_TRUE(SameSeries(amended, newest));
    EXPECT_EQ(amended.marks.amendment, 3);
    EXPECT_EQ(amended.marks.origin, origin_bits::kFromInstrumentMemory);
    EXPECT_EQ(amended.verdict.present, 1);
    EXPECT_STREQ(amended.protocolText[1], "Масло ГК");
    EXPECT_EQ(AmendmentNote(amended), "Изменение №3 от 8.12.2026 23:27");
    EXPECT_EQ(VersionLabel(amended), "изм. 3 от 8.12.2026 23:27");
    EXPECT_FALSE(AmendmentNeeded(newest, newest, 0, &amended));
}

}  // namespace
