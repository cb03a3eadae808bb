// The calendar of the instrument's clock and the rows of the device-results list.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "results/device_results_ids.h"
#include "results/stored_results.h"

namespace {

void ExpectSameAsGmtime(uint32_t t) {
    const time_t wide = static_cast<time_t>(t);
    struct tm c;
    ASSERT_NE(gmtime_r(&wide, &c), nullptr);
    const CalendarTime got = SecondsToCalendar(t);
    ASSERT_EQ(got.year, static_cast<uint32_t>(c.tm_year + 1900)) << t;
    ASSERT_EQ(got.month, static_cast<uint32_t>(c.tm_mon + 1)) << t;
    ASSERT_EQ(got.day, static_cast<uint32_t>(c.tm_mday)) << t;
    ASSERT_EQ(got.hour, static_cast<uint32_t>(c.tm_hour)) << t;
    ASSERT_EQ(got.minute, static_cast<uint32_t>(c.tm_min)) << t;
    ASSERT_EQ(got.second, static_cast<uint32_t>(c.tm_sec)) << t;
}

TEST(StoredResultsCalendar, AgreesWithTheCLibraryOverTheWholeClock) {
    static_assert(sizeof(time_t) >= 8, "the sweep reaches 2106");
    // A stride that is no whole number of days or hours walks every time of
    // day and every day of the leap-year cycle.
    for (uint64_t t = 0; t <= 0xFFFFFFFFull; t += 100003) ExpectSameAsGmtime(static_cast<uint32_t>(t));
    for (uint32_t t : {0u, 59u, 86399u, 86400u, 951782400u /* 29.2.2000 */, 4107456000u /* 28.2.2100 */,
                       4107542400u /* 1.3.2100, no leap day */, 0xFFFFFFFEu, 0xFFFFFFFFu})
        ExpectSameAsGmtime(t);
    const CalendarTime last = SecondsToCalendar(0xFFFFFFFFu);
    EXPECT_EQ(last.year, 2106u);
    EXPECT_EQ(last.month, 2u);
    EXPECT_EQ(last.day, 7u);
}

class StoredResultsList : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        fake::SetWindowExists(ui::Window::DeviceResults, true);
        ClearStoredResults();
    }
    void TearDown() override { ClearStoredResults(); }

    static StoredResultEntry Entry(uint32_t stamp, std::vector<uint16_t> volts, int8_t offset = 0,
                                   uint8_t errorOfMean = 0) {
        StoredResultEntry e{};
        e.timeStamp = stamp;
        for (size_t i = 0; i < volts.size() && i < 6; ++i) e.voltage[i] = volts[i];
        e.count = static_cast<uint8_t>(volts.size());
        e.boundVoltage = 100;
        e.errorOfMean = errorOfMean;
        e.hourOffset = offset;
        return e;
    }

    static std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const auto& call : fake::UiCallsOf("ListAddRow")) {
            EXPECT_EQ(call.window, ui::Window::DeviceResults);
            EXPECT_EQ(call.id, IDC_DEVICE_RESULTS_LIST);
            rows.push_back(call.text);
        }
        return rows;
    }
};

constexpr uint32_t k31Jan2019 = 1548892800;

TEST_F(StoredResultsList, RowTexts) {
    struct Case {
        const char* what;
        StoredResultEntry entry;
        const char* row;
    };
    // The last column, "В архиве", is empty: there is no archive here.
    const Case cases[] = {
        {"hour offset forward", Entry(k31Jan2019, {100, 101}, 3),
         "31.1.2019|3:00| 10.0 кВ 10.1 кВ|10.1 кВ|0.1 кВ|1.0 %|"},
        {"offset back across a day", Entry(k31Jan2019, {100, 101}, -1),
         "30.1.2019|23:00| 10.0 кВ 10.1 кВ|10.1 кВ|0.1 кВ|1.0 %|"},
        {"offset back across a year", Entry(1577838600 /* 1.1.2020 0:30 */, {523}, -1),
         "31.12.2019|23:30| 52.3 кВ|52.3 кВ|0.0 кВ|0.0 %|"},
        {"offset wraps past the end of the clock", Entry(0xFFFFFFFFu - 1799, {523}, 1),
         "1.1.1970|0:30| 52.3 кВ|52.3 кВ|0.0 кВ|0.0 %|"},
        {"offset wraps below zero", Entry(1800, {523}, -1), "7.2.2106|5:58| 52.3 кВ|52.3 кВ|0.0 кВ|0.0 %|"},
        {"plain error", Entry(k31Jan2019, {452, 470, 501, 483, 469, 495}),
         "31.1.2019|0:00| 45.2 кВ 47.0 кВ 50.1 кВ 48.3 кВ 46.9 кВ 49.5 кВ|47.8 кВ|1.8 кВ|4.0 %|"},
        {"byte 21: error of the mean", Entry(k31Jan2019, {452, 470, 501, 483, 469, 495}, 0, 1),
         "31.1.2019|0:00| 45.2 кВ 47.0 кВ 50.1 кВ 48.3 кВ 46.9 кВ 49.5 кВ|47.8 кВ|0.7 кВ|1.0 %|"},
        {"no breakdown", Entry(k31Jan2019, {0x8000 | 1000, 1000}), "31.1.2019|0:00| >100 кВ 100.0 кВ|100.0 кВ|0.0 кВ|0.0 %|"},
    };
    for (const Case& c : cases) {
        SetUp();
        g_storedResults[0] = c.entry;
        FillStoredResultsList(0);
        EXPECT_EQ(Rows(), std::vector<std::string>{c.row}) << c.what;
    }
}

TEST_F(StoredResultsList, CountAboveSixListsTheSixSlotsOnly) {
    StoredResultEntry e = Entry(k31Jan2019, {452, 470, 501, 483, 469, 495});
    e.count = 9;
    // What lies behind the six words must not be taken for voltages.
    e.unread17[0] = e.unread17[1] = e.unread17[2] = 0x7F;
    g_storedResults[0] = e;
    FillStoredResultsList(0);
    EXPECT_EQ(Rows(), std::vector<std::string>{
                          "31.1.2019|0:00| 45.2 кВ 47.0 кВ 50.1 кВ 48.3 кВ 46.9 кВ 49.5 кВ|47.8 кВ|1.8 кВ|4.0 %|"});
}

TEST_F(StoredResultsList, EmptySlotsAndSlotsPastTheHighestAreLeftOut) {
    g_storedResults[0] = Entry(k31Jan2019, {100});
    g_storedResults[2] = Entry(k31Jan2019 + 60, {200});
    g_storedResults[4] = Entry(k31Jan2019 + 120, {300});  // beyond h
    FillStoredResultsList(3);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 20), "31.1.2019|0:00| 10.0");
    EXPECT_EQ(rows[1].substr(0, 20), "31.1.2019|0:01| 20.0");

    // The list is hidden while it fills and shown again, even when empty.
    fake::ClearUiCalls();
    ClearStoredResults();
    FillStoredResultsList(65535);
    const auto calls = fake::UiCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, "ShowControl");
    EXPECT_EQ(calls[0].value, 0);
    EXPECT_EQ(calls[1].op, "ShowControl");
    EXPECT_EQ(calls[1].value, 1);

    // An index past the table is held to its last slot.
    g_storedResults[kStoredResultSlots - 1] = Entry(k31Jan2019, {100});
    fake::ClearUiCalls();
    FillStoredResultsList(0xFFFFFFFFu);
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(StoredResultsList, NothingHappensOnceTheViewerIsClosed) {
    g_storedResults[0] = Entry(k31Jan2019, {100});
    fake::SetWindowExists(ui::Window::DeviceResults, false);
    FillStoredResultsList(0);
    EXPECT_TRUE(fake::UiCalls().empty());
}

}  // namespace
