// The row of orla_series an archived record gives, column by column, and the dialects' SQL.
#include "database/database_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "results/archive.h"
#include "database/database_sql.h"
#include "verdict/verdict.h"

namespace {

using platform::db::Value;
using Kind = Value::Kind;

// Every text, "" for NULL; numbers as integers (tenths for decimals).
struct Cell {
    const char* column;
    bool null;
    int64_t integer;
    const char* text;  // UTF-8, for texts
};

TestRecord Judged() {
    TestRecord r{};
    r.seriesLength = 6;
    r.valueCount = 6;
    for (int i = 0; i < 6; ++i) r.breakdownVoltage[i] = static_cast<uint16_t>(500 + i);
    r.meanVoltage = 503;
    r.rmsError = 17;
    r.variationPercent = 3;
    r.testTime = SystemTime{2026, 3, 2, 5, 9, 7, 8, 123};
    r.settingsSnapshot.countAndLift = 6;
    r.settingsSnapshot.pauseAndFlags = 5 | settings_bits::kPreTestDelay;
    r.settingsSnapshot.riseRate = 20;
    r.settingsSnapshot.maxVoltage = 1000;
    r.verdict = VerdictBlock{1, kMethodGost, 400, 600, kDispersionCv, 10, kVerdictFair, deviation_bits::kRiseRate};
    r.marks.amendment = 2;
    SetAmendedAt(r, 86400 + 3600);  // 2000-01-02 01:00
    r.marks.origin = origin_bits::kFromInstrumentMemory;
    std::strcpy(r.protocolText[0], "П-17");
    std::strcpy(r.protocolText[1], "Масло трансформаторное ГК");
    std::strcpy(r.protocolText[12], "Ёлкин «Ё» №1");
    return r;
}

// Three of six measured, the second without breakdown, so the mean is a bound; never judged.
TestRecord Short() {
    TestRecord r{};
    r.valueCount = 3;
    r.breakdownVoltage[0] = 523;
    r.breakdownVoltage[1] = kNoBreakdownBit | 1000;
    r.breakdownVoltage[2] = 600;
    r.breakdownVoltage[3] = 777;  // beyond valueCount
    r.meanVoltage = kNoBreakdownBit | 700;
    r.boundVoltage = 707;
    r.testTime = SystemTime{2025, 12, 1, 31, 23, 59, 58, 0};
    return r;
}

const Value& ValueOf(const std::vector<Value>& row, const char* column) {
    const auto& columns = SeriesColumns();
    for (size_t i = 0; i < columns.size(); ++i)
        if (std::strcmp(columns[i].name, column) == 0) return row.at(i);
    ADD_FAILURE() << "no column " << column;
    static const Value none;
    return none;
}

TEST(DatabaseRows, EveryColumnOfARecord) {
    const SystemTime sent{2026, 12, 3, 9, 10, 11, 12, 0};
    struct Case {
        TestRecord record;
        std::vector<Cell> cells;
    };
    const Case cases[] = {
        {Judged(),
         {{"instrument_serial", false, 0, u8"К-0042"}, {"amendment", false, 2, nullptr},
          {"protocol_number", false, 0, u8"П-17"}, {"material", false, 0, u8"Масло трансформаторное ГК"},
          {"standard", false, 0, ""}, {"tester_name", false, 0, u8"Ёлкин «Ё» №1"},
          {"value_count", false, 6, nullptr}, {"u1", false, 500, nullptr}, {"u6", false, 505, nullptr},
          {"u1_no_breakdown", false, 0, nullptr}, {"u6_no_breakdown", false, 0, nullptr},
          {"mean_kv", false, 503, nullptr}, {"mean_no_breakdown", false, 0, nullptr}, {"rms_kv", false, 17, nullptr},
          {"cv_percent", false, 3, nullptr}, {"series_length", false, 6, nullptr},
          {"measurement_count", false, 6, nullptr}, {"pause_minutes", false, 5, nullptr},
          {"pre_test_delay", false, 1, nullptr}, {"rise_rate_kv_s", false, 20, nullptr},
          {"max_voltage_kv", false, 1000, nullptr}, {"method", false, kMethodGost, nullptr},
          {"method_name", false, 0, u8"ГОСТ 6581-75"}, {"norm_min_kv", false, 400, nullptr},
          {"norm_good_kv", false, 600, nullptr}, {"dispersion_rule", false, kDispersionCv, nullptr},
          {"dispersion_percent", false, 10, nullptr}, {"verdict", false, kVerdictFair, nullptr},
          {"verdict_text", false, 0, u8"удовл."}, {"deviations", false, deviation_bits::kRiseRate, nullptr},
          {"from_instrument_memory", false, 1, nullptr}, {"program_version", false, 0, "5.00"}}},
        {Short(),
         {{"amendment", false, 0, nullptr}, {"amended_at", true, 0, nullptr}, {"value_count", false, 3, nullptr},
          {"u1", false, 523, nullptr}, {"u2", false, 1000, nullptr}, {"u2_no_breakdown", false, 1, nullptr},
          {"u3_no_breakdown", false, 0, nullptr}, {"u4", true, 0, nullptr}, {"u4_no_breakdown", true, 0, nullptr},
          {"u6", true, 0, nullptr}, {"mean_kv", false, 707, nullptr}, {"mean_no_breakdown", false, 1, nullptr},
          {"method", true, 0, nullptr}, {"method_name", true, 0, nullptr}, {"norm_min_kv", true, 0, nullptr},
          {"verdict", true, 0, nullptr}, {"verdict_text", true, 0, nullptr}, {"deviations", true, 0, nullptr},
          {"from_instrument_memory", false, 0, nullptr}}},
    };
    for (const Case& c : cases) {
        const std::vector<Value> row = SeriesRow(c.record, u8"К-0042", sent);
        ASSERT_EQ(row.size(), SeriesColumns().size());
        for (size_t i = 0; i < row.size(); ++i) EXPECT_EQ(row[i].kind, SeriesColumns()[i].kind) << i;
        for (const Cell& cell : c.cells) {
            const Value& v = ValueOf(row, cell.column);
            EXPECT_EQ(v.null, cell.null) << cell.column;
            if (cell.null) continue;
            if (cell.text) EXPECT_EQ(v.text, cell.text) << cell.column;
            else EXPECT_EQ(v.integer, cell.integer) << cell.column;
        }
        EXPECT_EQ(ValueOf(row, "test_time").time.wMilliseconds, c.record.testTime.wMilliseconds);
        EXPECT_EQ(ValueOf(row, "sent_at").time.wMinute, 11);
    }
    const std::vector<Value> judged = SeriesRow(Judged(), "", sent);
    const Value& amended = ValueOf(judged, "amended_at");
    EXPECT_EQ(amended.time.wYear, 2000);
    EXPECT_EQ(amended.time.wDay, 2);
    EXPECT_EQ(amended.time.wHour, 1);
}

TEST(DatabaseRows, OnlyIntactRecordsWithRealDatesAreSent) {
    struct Case { uint16_t year, month, day; bool crcHolds; bool sendable; };
    const Case cases[] = {
        {2026, 3, 9, true, true},   {2024, 2, 29, true, true}, {2026, 2, 29, true, false},
        {2026, 13, 1, true, false}, {0, 0, 0, true, false},    {2026, 3, 9, false, false},
    };
    for (const Case& c : cases) {
        TestRecord r = Short();
        r.testTime.wYear = c.year;
        r.testTime.wMonth = c.month;
        r.testTime.wDay = c.day;
        r.crc = static_cast<uint16_t>(ArchiveRecordCrc(r) + (c.crcHolds ? 0 : 1));
        EXPECT_EQ(SendableRecord(r), c.sendable) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(DatabaseSql, EachDialectInsertsAKeyOnce) {
    struct Case { SqlDialect dialect; const char* dbms; const char* guard; size_t extraMarkers; };
    const Case cases[] = {
        {SqlDialect::PostgreSql, "PostgreSQL", "ON CONFLICT (instrument_serial, test_time, amendment) DO NOTHING", 0},
        {SqlDialect::Sqlite, "SQLite", "INSERT OR IGNORE INTO orla_series", 0},
        {SqlDialect::SqlServer, "Microsoft SQL Server", "WHERE NOT EXISTS", 3},
        {SqlDialect::Other, "MySQL", "WHERE NOT EXISTS", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialectOfDbms(c.dbms), c.dialect) << c.dbms;
        const std::string sql = InsertSql(c.dialect);
        EXPECT_NE(sql.find(c.guard), std::string::npos) << sql;
        const size_t markers = static_cast<size_t>(std::count(sql.begin(), sql.end(), '?'));
        EXPECT_EQ(markers, SeriesColumns().size() + c.extraMarkers) << c.dbms;
        EXPECT_EQ(InsertParameters(c.dialect, SeriesRow(Judged(), "x", SystemTime{})).size(), markers) << c.dbms;
        EXPECT_NE(CreateTableSql(c.dialect).find("PRIMARY KEY (instrument_serial, test_time, amendment)"),
                  std::string::npos);
    }
}

}  // namespace
