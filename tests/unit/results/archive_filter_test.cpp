// Find over the archive: case folding, searched fields, date edges, slot bounds.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "results/archive_filter.h"
#include "verdict/verdict.h"

namespace {

TestRecord Record(int field, const char* text, SystemTime when = {2026, 3, 0, 15, 10, 30, 0, 0}) {
    TestRecord r{};
    if (field >= 0) std::strcpy(r.protocolText[field], text);
    r.testTime = when;
    return r;
}

}  // namespace

TEST(ArchiveFilter, FoldsLatinAndCyrillicIncludingYo) {
    const struct { const char* upper; const char* lower; } pairs[] = {
        {"A", "a"}, {"Z", "z"}, {"А", "а"}, {"Я", "я"}, {"Ё", "ё"}, {"І", "і"}, {"Ґ", "ґ"},
    };
    for (const auto& p : pairs)
        EXPECT_EQ(FoldCp1251(static_cast<uint8_t>(p.upper[0])), static_cast<uint8_t>(p.lower[0])) << p.upper;
    // Digits, punctuation and letters already lower stay as they are.
    for (const char* same : {"1", "/", "-", "а", "ё", "№"})
        EXPECT_EQ(FoldCp1251(static_cast<uint8_t>(same[0])), static_cast<uint8_t>(same[0])) << same;
}

TEST(ArchiveFilter, TextInEverySearchedFieldAndNoOther) {
    const struct { int field; bool found; } cases[] = {
        {0, true}, {1, true}, {2, true}, {3, true}, {11, true}, {12, true},
        {4, false}, {10, false}, {-1, false},
    };
    for (const auto& c : cases) {
        const TestRecord r = Record(c.field, "Трансформатор ТМ-1000 ёмкость");
        for (const char* query : {"тм-1000", "ТРАНСФОРМАТОР", "  Ёмкость ", "форматор тм"})
            EXPECT_EQ(ArchiveFilter(query).Matches(r), c.found) << c.field << " " << query;
        EXPECT_FALSE(ArchiveFilter("тм-2000").Matches(r));
        EXPECT_TRUE(ArchiveFilter("").Matches(r)) << "an empty text matches all";
    }
}

TEST(ArchiveFilter, TheStoredConclusionIsSearchedToo) {
    TestRecord r = Record(3, "ТМ-1");
    r.valueCount = 2;
    r.breakdownVoltage[0] = r.breakdownVoltage[1] = r.meanVoltage = 352;
    r.verdict = JudgeSeries(r, BuiltInMethod(kMethodGost), {400, 0});
    ArchiveConclusions conclusions;
    conclusions.Add(Record(3, "ТМ-2"));  // not judged: an empty conclusion
    conclusions.Add(r);
    const struct { const char* query; bool found; } cases[] = {
        {"НЕ СООТВЕТСТВУЕТ", true}, {"отклонение от методики", true}, {"гост 6581", true}, {"тм-1", true},
        {"соответствует, состояние", false}, {"тм-2", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArchiveFilter(c.query).Matches(r), c.found) << c.query;
        EXPECT_EQ(ArchiveFilter(c.query).Matches(r, conclusions.Text(1)), c.found) << c.query;
    }
    EXPECT_TRUE(conclusions.Text(0).empty());
}

TEST(ArchiveFilter, DatesIncludeBothEdgesWhateverTheTimeOfDay) {
    const uint32_t from = ArchiveDayKey(2026, 3, 10), to = ArchiveDayKey(2026, 4, 2);
    const struct { SystemTime when; bool in; } cases[] = {
        {{2026, 3, 0, 9, 23, 59, 59, 999}, false},
        {{2026, 3, 0, 10, 0, 0, 0, 0}, true},
        {{2026, 4, 0, 2, 23, 59, 59, 999}, true},
        {{2026, 4, 0, 3, 0, 0, 0, 0}, false},
        {{2025, 3, 0, 20, 0, 0, 0, 0}, false},
        {{2027, 3, 0, 20, 0, 0, 0, 0}, false},
    };
    for (const auto& c : cases) {
        const TestRecord r = Record(3, "ТМ-1", c.when);
        EXPECT_EQ(ArchiveFilter("", from, to).Matches(r), c.in) << c.when.wMonth << "." << c.when.wDay;
        EXPECT_EQ(ArchiveFilter("тм", from, to).Matches(r), c.in);
        EXPECT_FALSE(ArchiveFilter("тп", from, to).Matches(r));
    }
    // Either side may stay open.
    const TestRecord early = Record(3, "x", {2001, 1, 0, 1, 0, 0, 0, 0});
    EXPECT_TRUE(ArchiveFilter("", 0, to).Matches(early));
    EXPECT_FALSE(ArchiveFilter("", from, 0).Matches(early));
}

TEST(ArchiveFilter, UnterminatedSlotIsNotReadPast) {
    TestRecord r{};
    std::memset(r.protocolText[3], 'q', kProtocolTextSize);  // no terminator
    std::memcpy(r.protocolText[3] + kProtocolTextSize - 3, "Abc", 3);
    std::strcpy(r.protocolText[4], "defXYZ");  // the next slot, not searched
    EXPECT_TRUE(ArchiveFilter("qabc").Matches(r));
    EXPECT_FALSE(ArchiveFilter("abcdef").Matches(r)) << "matched across the slot's end";
    // Leftovers after a terminator do not count either.
    std::strcpy(r.protocolText[1], "масло");
    std::memcpy(r.protocolText[1] + 6, "секрет", 6);
    EXPECT_FALSE(ArchiveFilter("секрет").Matches(r));
}

TEST(ArchiveFilter, FiltersFiftyThousandRecords) {
    constexpr size_t kCount = 50000;
    std::unique_ptr<TestRecord[]> records(new TestRecord[kCount]());
    for (size_t i = 0; i < kCount; ++i) {
        TestRecord& r = records[i];
        std::snprintf(r.protocolText[0], kProtocolTextSize, "П-%zu/2026", i);
        std::strcpy(r.protocolText[1], "Масло трансформаторное ГК");
        std::strcpy(r.protocolText[2], "ГОСТ 6581-75");
        std::snprintf(r.protocolText[3], kProtocolTextSize, "Трансформатор Т-%zu подстанции", i % 500);
        std::strcpy(r.protocolText[11], "Инженер-лаборант");
        std::strcpy(r.protocolText[12], "Иванова Е. Ё.");
        r.testTime = SystemTime{static_cast<uint16_t>(2016 + i / 5000), 6, 0, 15, 9, 0, 0, 0};
        // Judged as every series is now, so each has a conclusion to search.
        r.valueCount = 1;
        r.breakdownVoltage[0] = r.meanVoltage = static_cast<uint16_t>(300 + i % 400);
        r.verdict = JudgeSeries(r, BuiltInMethod(kMethodGost), {400, 600});
    }
    ArchiveConclusions conclusions;
    for (size_t i = 0; i < kCount; ++i) conclusions.Add(records[i]);
    std::vector<uint32_t> rows;
    ArchiveFilter("").Filter(records.get(), kCount, &rows, &conclusions);
    EXPECT_EQ(rows.size(), kCount);

    const auto start = std::chrono::steady_clock::now();
    ArchiveFilter("т-17 ПОДСТ", ArchiveDayKey(2020, 6, 15), ArchiveDayKey(2021, 6, 15))
        .Filter(records.get(), kCount, &rows, &conclusions);
    const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ timing ] filtering %zu records took %.1f ms\n", kCount, took);
    ASSERT_EQ(rows.size(), 20u);  // 10 per 5000, two years
    EXPECT_EQ(rows.front(), 20017u);
    for (uint32_t i : rows) EXPECT_EQ(i % 500, 17u);
}

TEST(ArchiveFilter, RowOfARecordInTheListedRows) {
    const std::vector<uint32_t> rows = {2, 5, 9, 40000};
    const int cases[][2] = {{2, 0}, {5, 1}, {40000, 3}, {0, -1}, {6, -1}, {40001, -1}};
    for (const auto& c : cases) EXPECT_EQ(ArchiveRowOf(rows, static_cast<uint32_t>(c[0])), c[1]) << c[0];
    EXPECT_EQ(ArchiveRowOf({}, 0), -1);
}
