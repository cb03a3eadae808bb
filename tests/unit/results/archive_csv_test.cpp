// CSV export of archived series and the read-only archive check behind orla-archive.
#include "results/archive_csv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "results/archive.h"
#include "results/archive_verify.h"
#include "results/test_parameters.h"
#include "verdict/verdict.h"

namespace {

TestRecord Series() {
    TestRecord r{};
    r.valueCount = 3;
    r.seriesLength = 3;
    r.breakdownVoltage[0] = 523;
    r.breakdownVoltage[1] = kNoBreakdownBit | 1000;
    r.breakdownVoltage[2] = 600;
    r.breakdownVoltage[3] = 777;  // beyond valueCount: not significant
    r.meanVoltage = 612;
    r.rmsError = 45;
    r.variationPercent = 7;
    r.testTime = SystemTime{2026, 3, 2, 5, 9, 7, 0, 0};
    r.settingsSnapshot.countAndLift = 6;
    r.settingsSnapshot.pauseAndFlags = 5 | settings_bits::kPreTestDelay;
    r.settingsSnapshot.riseRate = 20;
    r.settingsSnapshot.maxVoltage = 1000;
    std::strcpy(r.protocolText[0], "П-17/2026");
    return r;
}

std::vector<std::string> Cells(const std::string& line, char separator) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (size_t i = 0; i + 2 <= line.size() && !(line.compare(i, 2, "\r\n") == 0 && !quoted); ++i) {
        char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') cells.back() += line[++i];
            else quoted = !quoted;
        } else if (c == separator && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

constexpr int kFirstVoltage = kProtocolTextCount + 2;

TEST(ArchiveCsv, CellsAreQuotedOnlyWhenTheyMustBe) {
    struct Case { const char* text; const char* separator; const char* cell; };
    const Case cases[] = {
        {"Трансформатор Т-1", ";", "Трансформатор Т-1"},
        {"a;b", ";", "\"a;b\""},
        {"a,b", ";", "a,b"},
        {"a,b", ",", "\"a,b\""},
        {"ГОСТ \"6581\"", ";", "\"ГОСТ \"\"6581\"\"\""},
        {"line\r\nnext", ";", "\"line\r\nnext\""},
        {"line\nnext", ";", "\"line\nnext\""},
        {"a||b", "||", "\"a||b\""},
        {"", ";", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CsvCell(c.text, c.separator), c.cell) << c.text;
}

TEST(ArchiveCsv, Cp1251BecomesUtf8AndStopsAtTheSlot) {
    const char cyrillic[] = "\xC0\xFF\xA8\xB8\xB9 \x96 x";  // А я Ё ё № – x
    EXPECT_EQ(Cp1251ToUtf8(cyrillic, sizeof cyrillic), "\xD0\x90\xD1\x8F\xD0\x81\xD1\x91\xE2\x84\x96 \xE2\x80\x93 x");
    TestRecord r = Series();
    std::memset(r.protocolText[1], 'x', kProtocolTextSize);  // no terminator in the slot
    std::memset(r.protocolText[2], 0, kProtocolTextSize);
    std::strcpy(r.protocolText[2], "next");
    std::vector<std::string> cells = Cells(ArchiveCsvRow(r, {";", ","}), ';');
    EXPECT_EQ(cells[1], std::string(kProtocolTextSize, 'x'));
    EXPECT_EQ(cells[2], "next");
    EXPECT_EQ(cells[0], "\xD0\x9F-17/2026");  // П-17/2026
}

TEST(ArchiveCsv, RowCarriesValuesWithTheChosenDecimalSymbol) {
    struct Case { const char* separator; const char* point; const char* first; const char* rms; const char* rate; };
    const Case cases[] = {
        {";", ",", "52,3", "4,5", "2,0"},
        {",", ".", "52.3", "4.5", "2.0"},
        {",", ",", "52,3", "4,5", "2,0"},  // quoted, since the separator is inside
    };
    for (const Case& c : cases) {
        std::string line = ArchiveCsvRow(Series(), {c.separator, c.point});
        std::vector<std::string> cells = Cells(line, c.separator[0]);
        ASSERT_EQ(cells.size(), static_cast<size_t>(kArchiveCsvColumns)) << line;
        EXPECT_EQ(cells[kProtocolTextCount], "5.3.2026");
        EXPECT_EQ(cells[kProtocolTextCount + 1], "9:07");
        EXPECT_EQ(cells[kFirstVoltage], c.first);
        EXPECT_EQ(cells[kFirstVoltage + 1], ">100");
        EXPECT_EQ(cells[kFirstVoltage + 3], "");  // beyond valueCount
        EXPECT_EQ(cells[kFirstVoltage + 5], "");
        EXPECT_EQ(cells[kFirstVoltage + 7], c.rms);
        EXPECT_EQ(cells[kFirstVoltage + 8], "7");
        EXPECT_EQ(cells[kFirstVoltage + 9], "6");
        EXPECT_EQ(cells[kFirstVoltage + 10], "5");
        EXPECT_EQ(cells[kFirstVoltage + 11], "\xD0\xB5\xD1\x81\xD1\x82\xD1\x8C");  // есть
        EXPECT_EQ(cells[kFirstVoltage + 12], c.rate);
    }
}

TEST(ArchiveCsv, MeanWithoutBreakdownShowsTheBoundAndHeaderMatchesRows) {
    TestRecord r = Series();
    r.valueCount = 9;  // a damaged count still stops at the six slots
    r.meanVoltage = kNoBreakdownBit | 900;
    r.boundVoltage = 800;
    std::vector<std::string> cells = Cells(ArchiveCsvRow(r, {";", ","}), ';');
    ASSERT_EQ(cells.size(), static_cast<size_t>(kArchiveCsvColumns));
    EXPECT_EQ(cells[kFirstVoltage + 3], "77,7");
    EXPECT_EQ(cells[kFirstVoltage + 6], ">80");
    std::string header = ArchiveCsvHeader({";", ","});
    EXPECT_EQ(Cells(header, ';').size(), static_cast<size_t>(kArchiveCsvColumns));
    EXPECT_EQ(header.compare(0, 6, "\xD0\x9D\xD0\xBE\xD0\xBC"), 0);  // "Ном..."
}

std::string U8(const char* cp1251) { return Cp1251ToUtf8(cp1251, std::strlen(cp1251)); }

// A series taken from the instrument's memory has no settings: the pane and
// the export say so rather than show its empty snapshot as measured.
TEST(ArchiveCsv, SeriesWithoutSettingsSaysNoData) {
    constexpr const char* kNo = "нет данных";
    struct Case {
        const char* what;
        uint8_t origin;
        bool zeroSnapshot;
        const char* pane[kTestParameterCount];
        const char* csv[kTestParameterCount];
    };
    const Case cases[] = {
        {"measured", 0, false, {"6", "5 мин.", "есть", "2 кВ/с", "100 кВ"}, {"6", "5", "есть", "2.0", "100.0"}},
        {"measured, settings all zero", 0, true, {"0", "0 мин.", "нет", "0 кВ/с", "0 кВ"}, {"0", "0", "нет", "0.0", "0.0"}},
        {"from the instrument's memory", origin_bits::kFromInstrumentMemory, true,
         {kNo, kNo, kNo, kNo, kNo}, {kNo, kNo, kNo, kNo, kNo}},
    };
    for (const Case& c : cases) {
        TestRecord r = Series();
        r.marks.origin = c.origin;
        if (c.zeroSnapshot) r.settingsSnapshot = DeviceSettings{};
        TestParameterTexts pane;
        FormatRecordParameters(r, &pane);
        const std::vector<std::string> cells = Cells(ArchiveCsvRow(r, {";", "."}), ';');
        ASSERT_EQ(cells.size(), static_cast<size_t>(kArchiveCsvColumns)) << c.what;
        for (int k = 0; k < kTestParameterCount; ++k) {
            EXPECT_STREQ(pane.text[k], c.pane[k]) << c.what << ", field " << k;
            EXPECT_EQ(cells[kFirstVoltage + 9 + k], U8(c.csv[k])) << c.what << ", column " << k;
        }
    }
}

// The stored decision in the last six cells, as stored; none for a series
// from before judging.
TEST(ArchiveCsv, StoredDecisionFillsTheLastColumns) {
    struct Case { VerdictBlock block; const char* point; const char* cells[kArchiveCsvVerdictColumns]; };
    const Case cases[] = {
        {VerdictBlock{}, ",", {"", "", "", "", "", ""}},
        {VerdictBlock{1, kMethodAstm2mm, 300, 505, kDispersionRange, 92, kVerdictMeets,
                      deviation_bits::kBreakdowns | deviation_bits::kRiseRate}, ".",
         {"ASTM D1816, зазор 2 мм", "30.0", "50.5", "размах не более 92 %", "соотв.",
          "3 испытания вместо 5; скорость подъема напряжения 2 кВ/с вместо 0,5 кВ/с"}},
        {VerdictBlock{1, kMethodOwn, 0, 0, kDispersionCv, 10, kVerdictNotJudged, 0}, ",",
         {"своя методика", "", "", "КВ не более 10 %", "", ""}},
    };
    const int first = kArchiveCsvColumns - kArchiveCsvVerdictColumns - 1;  // the amendment number ends the row
    EXPECT_EQ(Cells(ArchiveCsvHeader({";", ","}), ';')[first], U8("Методика"));
    for (const Case& c : cases) {
        TestRecord r = Series();
        r.settingsSnapshot.countAndLift = 3;  // the three the instrument was set to: not a stopped series
        r.verdict = c.block;
        std::vector<std::string> cells = Cells(ArchiveCsvRow(r, {";", c.point}), ';');
        for (int k = 0; k < kArchiveCsvVerdictColumns; ++k) EXPECT_EQ(cells.at(first + k), U8(c.cells[k])) << k;
    }
}

// ---- verify

std::string Group(TestRecord r) {
    r.crc = ArchiveRecordCrc(r);
    std::string group;
    for (int copy = 0; copy < 3; ++copy) {
        std::string bytes(reinterpret_cast<const char*>(&r), sizeof r);
        ArchiveScramble(reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size());
        group += bytes;
    }
    return group;
}

TEST(ArchiveVerify, TellsSoundRepairedAndDamagedFilesApart) {
    const std::string sound = Group(Series()) + Group(Series());
    std::string oneCopy = sound;
    oneCopy[sizeof(TestRecord) + 100] ^= 0x5A;  // group 1, copy B
    std::string twoCopies = oneCopy;
    twoCopies[100] ^= 0x5A;  // copy A too: the vote takes the damage
    const std::string torn = sound + Group(Series()).substr(0, 5000);

    std::string secondToo = twoCopies;  // and group 2 the same way
    secondToo[kArchiveGroupSize + 100] ^= 0x5A;
    secondToo[kArchiveGroupSize + sizeof(TestRecord) + 100] ^= 0x5A;

    struct Case { const std::string* bytes; uint64_t groups, copies, crc, torn; ArchiveVerdict verdict; const char* failed; };
    const Case cases[] = {
        {&sound, 2, 0, 0, 0, ArchiveVerdict::Sound, ""},
        {&oneCopy, 2, 1, 0, 0, ArchiveVerdict::Repaired, ""},
        {&twoCopies, 2, 1, 1, 0, ArchiveVerdict::Damaged, "row 1 (\xD0\x9F-17/2026)"},
        {&secondToo, 2, 2, 2, 0, ArchiveVerdict::Damaged, "row 1 (\xD0\x9F-17/2026), row 2 (\xD0\x9F-17/2026)"},
        {&torn, 2, 0, 0, 5000, ArchiveVerdict::Damaged, ""},
    };
    for (const Case& c : cases) {
        std::istringstream in(*c.bytes);
        int seen = 0;
        ArchiveVerifyReport r = ArchiveVerifyStream(in, [&](const TestRecord& record) {
            ++seen;
            EXPECT_EQ(record.breakdownVoltage[0], 523);
        });
        EXPECT_EQ(r.groups, c.groups);
        EXPECT_EQ(seen, static_cast<int>(c.groups));
        EXPECT_EQ(r.repairedCopies, c.copies);
        EXPECT_EQ(r.crcMismatches, c.crc);
        EXPECT_EQ(r.tornBytes, c.torn);
        EXPECT_EQ(ArchiveVerdictOf(r), c.verdict);
        EXPECT_EQ(ArchiveCrcFailureList(r), c.failed);
    }
}

}  // namespace

TEST(ArchiveCsv, Utf8BecomesCp1251BackAndUnknownsAreQuestionMarks) {
    const struct { std::string utf8; std::string cp1251; } cases[] = {
        {"\xD0\x90\xD1\x8F\xD0\x81\xD1\x91\xE2\x84\x96 \xE2\x80\x93 x", "\xC0\xFF\xA8\xB8\xB9 \x96 x"},
        {"\xE4\xB8\xAD", "?"},                 // a character 1251 lacks
        {"a\xD0", "a?"},                       // a character cut short
        {"\xF0\x9F\x98\x80", "????"},          // beyond 16 bits, byte by byte
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251) << c.utf8;
}
