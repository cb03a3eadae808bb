// The window's rows of the register: Russian cells newest first, the find, the CSV export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/journal.h"
#include "journal/journal_view.h"
#include "results/archive_csv.h"

namespace {

std::string U8(const char* cp1251) { return Cp1251ToUtf8(cp1251, std::string(cp1251).size()); }

// A register of three events as the file holds them (chains are not looked at here).
JournalFile Register() {
    const std::string hash(64, 'a');
    const std::vector<std::vector<std::string>> fields = {
        {"1", "2026-05-01 10:00:00", "journal_start", "", "", "", "lab", "Иванов И.И.", "ОРЛА-К200В 5.00", "", hash},
        {"2", "2026-05-01 10:05:00", "series", "2026-04-30 09:05:07", "П-17", "0", "lab", "Иванов И.И.", "", hash, hash},
        {"3", "2026-05-02 08:00:00", "amend", "2026-04-30 09:05:07", "П-17", "1", "lab", "ПЕТРОВ П.П.",
         "опечатка; в номере", hash, hash},
    };
    JournalFile file;
    for (const auto& f : fields) {
        JournalLine line;
        for (const std::string& cell : f) line.fields.push_back(U8(cell.c_str()));
        file.lines.push_back(line);
    }
    return file;
}

TEST(JournalView, EventsInRussianWords) {
    const struct { const char* name; const char* words; } cases[] = {
        {"series", "серия"},          {"import", "импорт"},           {"amend", "изменение"},
        {"approve", "утверждение"},   {"issue", "выдача"},            {"archive_aside", "архив отложен"},
        {"journal_start", "начало журнала"}, {"later_event", "later_event"},
    };
    for (const auto& c : cases) EXPECT_EQ(JournalEventWords(c.name), c.words) << c.name;
}

TEST(JournalView, RowsNewestFirstInWindows1251) {
    JournalFile file = Register();
    file.lines.push_back(JournalLine{{"4", "2026-05-03 07:00:00"}, ""});  // cut short by hand
    const std::vector<JournalViewRow> rows = JournalViewRows(file);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].cells[0], "4");
    EXPECT_EQ(rows[0].cells[1], "03.05.2026 07:00:00");
    EXPECT_EQ(rows[0].cells[2], "");
    const std::string amend[kJournalViewColumns] = {"3", "02.05.2026 08:00:00", "изменение", "30.04.2026 09:05:07",
                                                    "П-17", "1", "lab", "ПЕТРОВ П.П.", "опечатка; в номере"};
    for (int c = 0; c < kJournalViewColumns; ++c) EXPECT_EQ(rows[1].cells[c], amend[c]) << c;
    EXPECT_EQ(rows[3].cells[2], "начало журнала");
}

TEST(JournalView, FindsByNumberPersonOrDetailsWhateverTheCase) {
    const std::vector<JournalViewRow> rows = JournalViewRows(Register());
    const struct { const char* text; std::vector<uint32_t> shown; } cases[] = {
        {"", {0, 1, 2}},           {"  ", {0, 1, 2}},     {"п-17", {0, 1}},     {"петров", {0}},
        {" ИВАНОВ ", {1, 2}},      {"ОПЕЧАТКА", {0}},     {"к200в", {2}},       {"lab", {}},
        {"2026", {}},  // dates are not searched
    };
    std::vector<uint32_t> shown{7};
    for (const auto& c : cases) {
        JournalViewFind(rows, c.text, &shown);
        EXPECT_EQ(shown, c.shown) << c.text;
    }
}

TEST(JournalView, ExportsTheRowsShownInTheArchiveDialect) {
    const std::vector<JournalViewRow> rows = JournalViewRows(Register());
    const std::string csv = JournalViewCsv(rows, {0}, ";");
    const std::string expected = std::string(kCsvByteOrderMark) +
        U8("№;Время;Событие;Дата испытания;Протокол №;Изм.;Учётная запись;Кто;Подробности\r\n") +
        U8("3;02.05.2026 08:00:00;изменение;30.04.2026 09:05:07;П-17;1;lab;ПЕТРОВ П.П.;\"опечатка; в номере\"\r\n");
    EXPECT_EQ(csv, expected);
    EXPECT_EQ(JournalViewCsv(rows, {}, ","), std::string(kCsvByteOrderMark) +
              U8("№,Время,Событие,Дата испытания,Протокол №,Изм.,Учётная запись,Кто,Подробности\r\n"));
}

}  // namespace
