// The texts of an archive viewer row and of its details pane.
#include <gtest/gtest.h>

#include <cstring>

#include "results/archive_rows.h"
#include "results/verdict.h"

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
