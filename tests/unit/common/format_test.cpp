// Display texts: fixed decimals, tenths, voltages, record times and dates.
#include <gtest/gtest.h>

#include <string>

#include "common/format.h"
#include "platform/fake/fake_platform.h"

namespace {

std::string Fixed(float v, int d, const char* unit) {
    char out[256];
    FormatFixed(out, v, d, unit);
    return out;
}

std::string Voltage(uint16_t w) {
    char out[256];
    FormatVoltage(out, w);
    return out;
}

std::string Column(const TestRecord& r, int c) {
    char out[256];
    FormatMeasurementValue(out, r, c);
    return out;
}

std::string Time(SystemTime t) {
    char out[256];
    FormatRecordTime(out, t);
    return out;
}

}  // namespace

// Literals are Windows-1251 in memory, so these compare the bytes the
// windows and files receive.
TEST(Format, TenthsShowADecimalOnlyWhenNotWhole) {
    const struct {
        unsigned tenths;
        const char *unit, *want;
    } cases[] = {{5, "кВ/с", "0.5 кВ/с"}, {20, "кВ/с", "2 кВ/с"}, {25, "кВ/с", "2.5 кВ/с"},
                 {0, "кВ/с", "0 кВ/с"},   {650, "кВ", "65 кВ"},   {655, "кВ", "65.5 кВ"}};
    char out[256];
    for (const auto& c : cases) {
        FormatTenths(out, c.tenths, c.unit);
        EXPECT_EQ(std::string(out), c.want) << c.tenths;
    }
}

TEST(Format, FixedAndWhole) {
    EXPECT_EQ(Fixed(0.5f, 1, "кВ/с"), "0.5 кВ/с");
    EXPECT_EQ(Fixed(2.0f, 0, "кВ/с"), "2 кВ/с");
    EXPECT_EQ(Fixed(52.3f, 1, "кВ"), "52.3 кВ");
    char out[256];
    FormatWhole(out, 0);
    EXPECT_EQ(std::string(out), "0 ");
    EXPECT_EQ(std::string("кВ"), "\xEA\xC2");
}

TEST(Format, VoltageWords) {
    EXPECT_EQ(Voltage(0), "0.0 кВ");
    EXPECT_EQ(Voltage(523), "52.3 кВ");
    EXPECT_EQ(Voltage(0x8000 + 1000), ">100 кВ");
    EXPECT_EQ(Voltage(0x7FFF), "3276.7 кВ");
}

TEST(Format, MeanColumnUsesTheBoundWhenFlagged) {
    TestRecord r{};
    r.meanVoltage = 523;
    r.breakdownVoltage[2] = 471;
    EXPECT_EQ(Column(r, 2), "47.1 кВ");
    EXPECT_EQ(Column(r, 6), "52.3 кВ");
    EXPECT_EQ(Column(r, 7), "52.3 кВ");
    r.meanVoltage = 0x8000 | 0x1234;
    r.boundVoltage = 1000;
    EXPECT_EQ(Column(r, 7), ">100 кВ");
}

TEST(Format, RecordTimeIsShortForTodaysDayAndMonth) {
    fake::Reset();
    fake::SetLocalTimeBase(SystemTime{2026, 12, 4, 3, 12, 0, 0, 0});
    EXPECT_EQ(Time(SystemTime{2026, 12, 4, 3, 9, 5, 0, 0}), "9:05");
    EXPECT_EQ(Time(SystemTime{2019, 12, 2, 3, 9, 5, 0, 0}), "9:05");
    EXPECT_EQ(Time(SystemTime{2026, 1, 4, 1, 23, 59, 0, 0}), "23:59 1.1.2026");
}

TEST(Format, TodayDateUsesTheGenitiveMonth) {
    fake::Reset();
    fake::SetLocalTimeBase(SystemTime{2026, 5, 5, 1, 8, 0, 0, 0});
    char out[256];
    FormatTodayDate(out);
    EXPECT_EQ(std::string(out), "1 мая 2026 г.");
    fake::SetLocalTimeBase(SystemTime{2026, 12, 1, 7, 8, 0, 0, 0});
    FormatTodayDate(out);
    EXPECT_EQ(std::string(out), "7 декабря 2026 г.");
}

TEST(Format, HexAndNumberedKeys) {
    char out[256];
    FormatHex16(out, 0);
    EXPECT_EQ(std::string(out), "0000h");
    FormatHex16(out, 0xBEEF);
    EXPECT_EQ(std::string(out), "BEEFh");
    MakeNumberedKey(out, "String", 0);
    EXPECT_EQ(std::string(out), "String0");
    MakeNumberedKey(out, "String", 12);
    EXPECT_EQ(std::string(out), "String12");
}
