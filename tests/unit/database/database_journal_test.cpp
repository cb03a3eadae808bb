// orla_journal: its SQL in each dialect, the row of a register line, where sending resumes.
#include "database/database_journal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const SystemTime kNow = {2026, 5, 5, 1, 10, 0, 0, 0};

// A register of n issue lines, chained, as JournalAppend writes it.
JournalFile Lines(int n) {
    std::string text, chain = JournalFirstChain();
    for (int i = 1; i <= n; ++i) {
        JournalEntry e;
        e.event = JournalEvent::Issue;
        e.details = "принтер";
        const std::string line = JournalFormatLine(e, static_cast<uint64_t>(i), kNow, chain);
        chain = JournalParse(line).lines[0].fields[kJournalChainField];
        text += line;
    }
    return JournalParse(text);
}

TEST(DatabaseJournalSql, EachDialectKeysALineBySerialAndSeq) {
    struct Case { SqlDialect dialect; const char* guard; const char* seqType; size_t extraMarkers; };
    const Case cases[] = {
        {SqlDialect::PostgreSql, "ON CONFLICT (instrument_serial, seq) DO NOTHING", "  seq INTEGER NOT NULL", 0},
        {SqlDialect::Sqlite, "INSERT OR IGNORE INTO orla_journal", "  seq INTEGER NOT NULL", 0},
        {SqlDialect::SqlServer, "WHERE NOT EXISTS (SELECT 1 FROM orla_journal WHERE instrument_serial = ? AND seq = ?)",
         "  time DATETIME2(3) NOT NULL", 2},
        {SqlDialect::Other, "WHERE NOT EXISTS (SELECT 1 FROM orla_journal WHERE instrument_serial = ? AND seq = ?)",
         "  time TIMESTAMP(3) NOT NULL", 2},
    };
    const JournalFile file = Lines(1);
    for (const Case& c : cases) {
        const std::string insert = InsertSql(c.dialect, JournalTable());
        EXPECT_NE(insert.find(c.guard), std::string::npos) << insert;
        const std::string create = CreateTableSql(c.dialect, JournalTable());
        EXPECT_EQ(create.rfind("CREATE TABLE orla_journal (", 0), 0u) << create;
        EXPECT_NE(create.find(c.seqType), std::string::npos) << create;
        EXPECT_NE(create.find("PRIMARY KEY (instrument_serial, seq)"), std::string::npos) << create;
        std::vector<platform::db::Value> row;
        ASSERT_TRUE(JournalRow(file.lines[0], "K-42", &row));
        const size_t markers = static_cast<size_t>(std::count(insert.begin(), insert.end(), '?'));
        EXPECT_EQ(markers, JournalTable().columns->size() + c.extraMarkers);
        EXPECT_EQ(InsertParameters(c.dialect, JournalTable(), row).size(), markers);
    }
}

TEST(DatabaseJournalSql, ARowHoldsTheLinesFields) {
    const JournalFile file = Lines(2);
    std::vector<platform::db::Value> row;
    ASSERT_TRUE(JournalRow(file.lines[1], "K-42", &row));
    const std::vector<std::string>& f = file.lines[1].fields;
    struct Case { size_t column; const char* name; bool null; std::string text; int64_t integer; };
    const Case cases[] = {
        {0, "instrument_serial", false, "K-42", 0}, {1, "seq", false, "", 2},
        {3, "event", false, "issue", 0},           {4, "test_time", true, "", 0},
        {6, "version", true, "", 0},               {9, "details", false, f[8], 0},
        {11, "chain_sha256", false, f[kJournalChainField], 0},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ((*JournalTable().columns)[c.column].name, c.name);
        EXPECT_EQ(row[c.column].null, c.null) << c.name;
        EXPECT_EQ(row[c.column].text, c.text) << c.name;
        EXPECT_EQ(row[c.column].integer, c.integer) << c.name;
    }
    EXPECT_EQ(row[2].time.wYear, 2026);
    EXPECT_EQ(row[2].time.wHour, 10);
}

TEST(DatabaseJournalSent, SendingResumesAfterTheMarkedLine) {
    const JournalFile file = Lines(5);
    const std::string third = file.lines[2].fields[kJournalChainField];
    struct Case { const char* what; JournalSentMark mark; size_t from; };
    const Case cases[] = {
        {"three sent", {7, 3, third}, 3},
        {"all sent", {7, 5, file.lines[4].fields[kJournalChainField]}, 5},
        {"another target", {8, 3, third}, 0},
        {"the register begun anew", {7, 3, std::string(64, 'b')}, 0},
        {"more sent than the register holds", {7, 9, third}, 0},
        {"nothing sent", {7, 0, JournalFirstChain()}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(JournalLinesAlreadySent(file, c.mark, 7), c.from) << c.what;
    JournalSentMark read;
    ASSERT_TRUE(ParseJournalSentMark(FormatJournalSentMark(cases[0].mark), &read));
    EXPECT_EQ(read.seq, 3u);
    EXPECT_EQ(read.chain, third);
    EXPECT_FALSE(ParseJournalSentMark("target 7\r\nseq 3\r\nchain xyz\r\n", &read));
}

}  // namespace
