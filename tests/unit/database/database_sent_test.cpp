// What log.dat has sent to the database: the mark's file and when all is sent again.
#include "database/database_sent.h"

#include <gtest/gtest.h>

#include <string>

#include "database/database_texts.h"
#include "platform/fake/fake_platform.h"

namespace {

TestRecord RecordNumber(uint16_t n) {
    TestRecord r{};
    r.valueCount = 1;
    r.breakdownVoltage[0] = n;
    return r;
}

TEST(DatabaseSent, RecordsAlreadySentFollowTheTargetAndTheArchive) {
    const std::string pg = "Driver={PostgreSQL Unicode};Server=lab;Database=orla;Uid=orla;Pwd=one";
    const uint64_t target = DatabaseTarget(pg, "K-42");
    const TestRecord tenth = RecordNumber(10), other = RecordNumber(11);
    const SentMark mark{target, 10, RecordFingerprint(tenth)};
    struct Case { const char* what; uint64_t target; uint64_t archive; const TestRecord* atMark; uint64_t sent; };
    const Case cases[] = {
        {"the same database, more appended", target, 12, &tenth, 10},
        {"only the password changed", DatabaseTarget("driver={PostgreSQL Unicode}; server=lab;Database=orla;UID=orla;PWD=two", "K-42"), 12, &tenth, 10},
        {"another database", DatabaseTarget("Driver={SQLite3};Database=/lab.db", "K-42"), 12, &tenth, 0},
        {"another serial number", DatabaseTarget(pg, "K-43"), 12, &tenth, 0},
        {"log.dat moved aside, begun anew", target, 3, nullptr, 0},
        {"another record where the mark stood", target, 12, &other, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(RecordsAlreadySent(mark, c.target, c.archive, c.atMark), c.sent) << c.what;
}

TEST(DatabaseSent, TheMarkSurvivesARestartThroughATemporaryFile) {
    fake::Reset();
    const SentMark mark{0x0123456789ABCDEFull, 50000, 0xFEDCBA9876543210ull};
    ASSERT_TRUE(SaveSentMark(kSentMarkFileName, mark));
    EXPECT_FALSE(fake::FileExists(std::string(kSentMarkFileName) + ".tmp"));
    SentMark read;
    ASSERT_TRUE(LoadSentMark(kSentMarkFileName, &read));
    EXPECT_EQ(read.target, mark.target);
    EXPECT_EQ(read.records, mark.records);
    EXPECT_EQ(read.lastRecord, mark.lastRecord);
    for (const char* damaged : {"", "target 12\r\nrecords x\r\n", "records 5\r\n", "target 1 records 2 last 3 more"})
        EXPECT_FALSE(ParseSentMark(damaged, &read)) << damaged;
}

TEST(DatabaseTexts, ThePasswordStaysHiddenAndTheRetriesSlowDown) {
    struct Case { const char* stored; const char* shown; const char* typed; const char* taken; };
    const Case cases[] = {
        {"DSN=lab;UID=orla;PWD=secret", "DSN=lab;UID=orla;PWD=********", "DSN=lab;UID=orla;PWD=********",
         "DSN=lab;UID=orla;PWD=secret"},
        {"Driver={PostgreSQL Unicode};Password={a;b};", "Driver={PostgreSQL Unicode};Password=********;",
         "Driver={PostgreSQL Unicode};Server=x;Password=********;", "Driver={PostgreSQL Unicode};Server=x;Password={a;b};"},
        {"DSN=lab;PWD=old", "DSN=lab;PWD=********", "DSN=lab;PWD=new", "DSN=lab;PWD=new"},
        {"Driver={SQLite3};Database=/lab.db", "Driver={SQLite3};Database=/lab.db", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MaskPassword(c.stored), c.shown);
        EXPECT_EQ(UnmaskPassword(c.typed, c.stored), c.taken);
    }
    const uint32_t pauses[] = {2000, 4000, 8000, 16000, 32000, 64000, 128000, 256000, 300000, 300000};
    for (uint32_t i = 0; i < sizeof pauses / sizeof pauses[0]; ++i) EXPECT_EQ(DatabaseRetryPauseMs(i + 1), pauses[i]);
    EXPECT_EQ(DatabaseRetryPauseMs(1000), 300000u);
}

// The driver's message in one line: a tooltip shows its breaks and tabs as boxes.
TEST(DatabaseTexts, TheErrorTipIsOneCleanLine) {
    const struct { const char* error; const char* tip; } cases[] = {
        {"Connection refused\n\tСервер действительно работает?",
         "Ошибка базы данных (9:05): Connection refused Сервер действительно работает?"},
        {"a \t\r\n  b\r\n", "Ошибка базы данных (9:05): a b"},
        {"\r\n\t", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DatabaseErrorTip(c.error, "9:05"), c.tip) << c.error;
}

}  // namespace
