// The texts of an archive viewer row and of its details pane.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "results/archive_rows.h"
#include "verdict/verdict.h"

TEST(ArchiveRows, ColumnsOfASeries) {
    TestRecord r{};
    std::strcpy(r.protocolText[0], "12/7");
    std::strcpy(r.protocolText[1], "Масло ГК");
    r.valueCount = 2;
    r.breakdownVoltage[0] = 523;
    r.breakdownVoltage[1] = 600;
    r.breakdownVoltage[2] = 999;  // beyond valueCount: not shown
    r.meanVoltage = 562;
    r.testTime = SystemTime{2026, 5, 5, 1, 9, 5, 0, 0};
    ArchiveRowTexts t;
    ArchiveRowCells(r, &t);
    EXPECT_STREQ(t.cells[0], "12/7");
    EXPECT_STREQ(t.cells[1], "Масло ГК");
    EXPECT_STREQ(t.cells[2], "  52.3 кВ  60.0 кВ");
    EXPECT_STREQ(t.cells[3], "56.2 кВ");
    EXPECT_STREQ(t.cells[4], "1.5.2026");
    EXPECT_STREQ(t.cells[5], "9:05");
    EXPECT_STREQ(t.cells[6], "") << "the original";
    EXPECT_STREQ(t.cells[7], "") << "not judged";
    r.marks.amendment = 2;
    ArchiveRowCells(r, &t);
    EXPECT_STREQ(t.cells[6], "изм. 2");
    char list[256];
    ArchiveVoltageList(r, list, sizeof list);
    EXPECT_STREQ(list, "52.3 кВ 60.0 кВ ");
    EXPECT_EQ(ArchiveConclusionLine(r), "");

    r.verdict = JudgeSeries(r, nullptr, {600, 0});
    ArchiveRowCells(r, &t);
    EXPECT_STREQ(t.cells[7], "не соотв.");
    EXPECT_EQ(ArchiveConclusionLine(r), "Заключение: " + ConclusionText(r));
}

TEST(ArchiveRows, EmptyAndDamagedRecordsStayInBounds) {
    TestRecord r{};
    ArchiveRowTexts t;
    ArchiveRowCells(r, &t);
    EXPECT_STREQ(t.cells[2], "");
    char list[256];
    ArchiveVoltageList(r, list, sizeof list);
    EXPECT_STREQ(list, "");

    std::memset(r.protocolText[0], 'x', kProtocolTextSize);  // no terminator
    r.valueCount = 200;
    ArchiveRowCells(r, &t);
    EXPECT_EQ(std::strlen(t.cells[0]), 255u);
    EXPECT_EQ(std::strlen(t.cells[2]), 6 * std::strlen("  0.0 кВ"));
}

TEST(ArchiveRows, NoBreakdownValuesAreShownAsBounds) {
    TestRecord r{};
    r.valueCount = 1;
    r.breakdownVoltage[0] = 0x8000 | 1000;
    r.meanVoltage = 0x8000 | 1234;
    r.boundVoltage = 950;
    ArchiveRowTexts t;
    ArchiveRowCells(r, &t);
    EXPECT_STREQ(t.cells[2], "  >100 кВ");
    EXPECT_STREQ(t.cells[3], ">95 кВ");
}

// A record whose crc fails marks the row of its series, wherever the list
// shows it: two failing versions of one series make one row, and a series
// not listed (found away) makes none.
TEST(ArchiveRows, DamagedSeriesMarkedWhereTheyStand) {
    std::vector<TestRecord> records(5);
    for (uint16_t i = 0; i < 3; ++i) {
        records[i].valueCount = 1;
        records[i].breakdownVoltage[0] = static_cast<uint16_t>(400 + i);
        std::snprintf(records[i].protocolText[0], kProtocolTextSize, "П-%u", i);
    }
    records[3] = records[4] = records[1];  // two amendments of series 1
    records[3].marks.amendment = 1;
    records[4].marks.amendment = 2;
    ArchiveVersions versions;
    for (uint32_t i = 0; i < records.size(); ++i) versions.Add(records.data(), i);
    const struct {
        std::vector<uint32_t> damaged, rows, series, listed;
    } cases[] = {
        {{}, {0, 1, 2}, {}, {}}, {{4}, {0, 1, 2}, {1}, {1}}, {{1, 3}, {0, 1, 2}, {1}, {1}},
        {{2, 4}, {1, 2}, {1, 2}, {0, 1}}, {{2}, {0, 1}, {2}, {}},
    };
    for (const auto& c : cases) {
        const std::vector<uint32_t> series = ArchiveDamagedSeries(c.damaged, versions);
        EXPECT_EQ(series, c.series);
        EXPECT_EQ(ArchiveDamagedRows(series, c.rows), c.listed);
    }
    ArchiveRowTexts t;
    ArchiveRowCells(records[4], &t, true);
    EXPECT_STREQ(t.cells[0], "! П-1");
    std::memset(records[0].protocolText[0], 'x', kProtocolTextSize);  // no terminator in the file
    ArchiveRowCells(records[0], &t, true);
    EXPECT_EQ(std::string(t.cells[0]), "! " + std::string(kProtocolTextSize - 3, 'x'));
}

// The approval column and the pane's line; nothing for a version not approved.
TEST(ArchiveRows, ApprovalColumnAndLine) {
    struct Case {
        const VersionApproval* approval;
        const char* cell;
        const char* line;
    };
    const VersionApproval head{"09.12.2026", "Петров П.П.", "Начальник лаборатории"};
    const VersionApproval unnamed{"01.05.2026", "Сидоров С.С.", ""};
    const Case cases[] = {
        {nullptr, "", nullptr},
        {&head, "утв. 09.12.2026", "Утвердил: Начальник лаборатории Петров П.П., 09.12.2026"},
        {&unnamed, "утв. 01.05.2026", "Утвердил: Сидоров С.С., 01.05.2026"},
    };
    TestRecord r{};
    std::strcpy(r.protocolText[0], "12/7");
    for (const Case& c : cases) {
        ArchiveRowTexts t;
        ArchiveRowCells(r, &t, false, c.approval);
        EXPECT_STREQ(t.cells[8], c.cell);
        EXPECT_STREQ(t.cells[0], "12/7") << "the other columns stay as they were";
        if (c.approval) EXPECT_EQ(ArchiveApproverLine(*c.approval), c.line);
    }
}
