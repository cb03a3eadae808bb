// The service data log and what the link's kinds show in the service view.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/program_settings.h"
#include "link/device_state.h"
#include "platform/fake/fake_platform.h"
#include "results/statistics.h"
#include "service/service_history.h"
#include "service/service_hooks.h"
#include "service/service_view_ids.h"
#include "service/service_view_layout.h"

namespace {

constexpr ui::Window kView = ui::Window::ServiceView;
const char kSerial[] = "FT7Q2K1A";
const char kLog[] = "FT7Q2K1A.sdat";

// A series whose reserved bytes 54-55 carry its number, so every record of a
// file can be told apart wherever it lands.
TestRecord Series(std::vector<uint16_t> voltages, int number = 0) {
    TestRecord r{};
    r.seriesLength = 6;
    r.valueCount = static_cast<uint8_t>(voltages.size());
    for (size_t i = 0; i < voltages.size() && i < kVoltageSlots; ++i) r.breakdownVoltage[i] = voltages[i];
    r.marks.amendment = static_cast<uint16_t>(number);
    r.testTime = {2026, 4, 4, 9, 10, 30, 0, 0};
    return r;
}

int NumberOf(const RecordHead& h) { return h.bytes[54] | h.bytes[55] << 8; }

void WriteLog(int records, int tornBytes = 0) {
    std::vector<uint8_t>& file = fake::FileBytes(kLog);
    file.clear();
    for (int n = 0; n < records; ++n) {
        TestRecord r = Series({400, 410}, n);
        file.insert(file.end(), reinterpret_cast<uint8_t*>(&r), reinterpret_cast<uint8_t*>(&r) + 64);
    }
    file.insert(file.end(), tornBytes, 0xEE);
}

std::vector<std::string> Cells(const fake::UiCall& row) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t bar; (bar = row.text.find('|', start)) != std::string::npos; start = bar + 1)
        cells.push_back(row.text.substr(start, bar - start));
    cells.push_back(row.text.substr(start));
    return cells;
}

uint32_t HistogramTotal() {
    uint32_t total = 0;
    for (const auto& c : g_serviceHistory.voltageHistogram) total += c;
    return total;
}

class ServiceHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        ResetServiceHistory();
        g_programSettings.serviceMode = true;
        g_deviceState.protocolGeneration = 1;
        fake::SetWindowExists(kView, true);
    }
    void TearDown() override {
        g_programSettings.serviceMode = false;
        g_deviceState.protocolGeneration = 0;
        ResetServiceHistory();
    }
    std::string Shown(int id) { return fake::ControlText(kView, id); }
    void Connect() { UpdateServiceView(kSerial, 0); }
};

TEST_F(ServiceHistoryTest, FirstRunCreatesTheFileAndCountsTheFirstSeries) {
    Connect();
    EXPECT_EQ(Shown(IDC_SERVICE_SERIAL), kSerial);
    ASSERT_TRUE(fake::FileExists(kLog));
    EXPECT_EQ(fake::FileBytes(kLog).size(), 0u);
    EXPECT_EQ(Shown(IDC_SERVICE_SERIES_COUNT), "0(0)");

    TestRecord record = Series({500, 520, 540});
    ServiceHistoryAddSeries(record);
    EXPECT_EQ(Shown(IDC_SERVICE_SERIES_COUNT), "1(1)");
    ASSERT_EQ(fake::FileBytes(kLog).size(), 64u);
    // The caller's record carries the recomputed figures, and so does the file.
    EXPECT_EQ(record.meanVoltage, 520);
    EXPECT_EQ(std::memcmp(fake::FileBytes(kLog).data(), &record, 64), 0);
    EXPECT_EQ(fake::UiCallsOf("ListScrollToEnd").size(), 1u);
}

TEST_F(ServiceHistoryTest, LoadReplaysTheFileAndAppendsOnlyNewSeries) {
    struct Case {
        int records, tornBytes;
        const char *afterLoad, *afterSeries;
    } cases[] = {
        {10, 0, "0(10)", "1(11)"},
        {120, 0, "0(120)", "1(121)"},
        // The torn record is neither listed nor left before the new one.
        {3, 17, "0(3)", "1(4)"},
    };
    for (const Case& c : cases) {
        SetUp();
        WriteLog(c.records, c.tornBytes);
        Connect();
        EXPECT_EQ(ui::ListRowCount(kView, IDC_SERVICE_LIST), c.records) << c.records;
        EXPECT_EQ(Shown(IDC_SERVICE_SERIES_COUNT), c.afterLoad);
        EXPECT_EQ(HistogramTotal(), 2u * c.records);
        EXPECT_EQ(fake::FileBytes(kLog).size(), 64u * c.records + c.tornBytes) << "replay writes nothing";

        TestRecord record = Series({300}, 9999);
        ServiceHistoryAddSeries(record);
        EXPECT_EQ(Shown(IDC_SERVICE_SERIES_COUNT), c.afterSeries);
        const std::vector<uint8_t>& file = fake::FileBytes(kLog);
        ASSERT_EQ(file.size(), 64u * (c.records + 1)) << c.records;
        RecordHead last;
        std::memcpy(last.bytes, &file[64u * c.records], 64);
        EXPECT_EQ(NumberOf(last), 9999);
    }
}

// A restart must not change what a series showed: the replayed row keeps the
// figures computed with the instrument's setting of the day.
TEST_F(ServiceHistoryTest, ARestartShowsTheFiguresTheSeriesWasListedWith) {
    struct Case {
        bool errorOfMean;
        const char *rms, *variation;
    } cases[] = {{true, "1.4 кВ", "3%"}, {false, "2.4 кВ", "5%"}};
    for (const Case& c : cases) {
        SetUp();
        Connect();
        TestRecord record = Series({452, 470, 501});
        if (c.errorOfMean) record.settingsSnapshot.pauseAndFlags |= settings_bits::kErrorOfMean;
        ServiceHistoryAddSeries(record);
        const std::vector<std::string> live = Cells(fake::UiCallsOf("ListAddRow").at(0));
        EXPECT_EQ(live[7], c.rms);
        EXPECT_EQ(live[8], c.variation);

        const std::vector<uint8_t> file = fake::FileBytes(kLog);
        ResetServiceHistory();
        fake::ClearUiCalls();
        Connect();
        EXPECT_EQ(Cells(fake::UiCallsOf("ListAddRow").at(0)), live) << c.errorOfMean;
        EXPECT_EQ(fake::FileBytes(kLog), file);
        EXPECT_EQ(HistogramTotal(), 3u);
    }
}

TEST_F(ServiceHistoryTest, RingKeepsTheLastFiftyOfALongFile) {
    WriteLog(120);
    Connect();
    for (int k = 0; k < kServiceRingSize; ++k)
        EXPECT_EQ(NumberOf(g_serviceHistory.seriesRing[k]), k < 20 ? 100 + k : 50 + k) << "slot " << k;
    // The series in progress goes to the slot of the next number.
    TestRecord running = Series({100}, 777);
    g_deviceState.status = status_bits::kIzmerMode;
    UpdateServiceView(&running, 6);
    g_deviceState.status = 0;
    EXPECT_EQ(NumberOf(g_serviceHistory.seriesRing[20]), 777);
    EXPECT_EQ(g_serviceHistory.seriesCount, 120);
}

TEST_F(ServiceHistoryTest, HistogramClassesAndDamagedCounts) {
    TestRecord record = Series({523, 0x8000 + 1000, 9});
    ServiceHistoryAddSeries(record);
    EXPECT_EQ(g_serviceHistory.voltageHistogram[52], 1u);
    EXPECT_EQ(g_serviceHistory.voltageHistogram[100], 1u);
    EXPECT_EQ(g_serviceHistory.voltageHistogram[0], 1u);

    // A damaged head claiming nine values adds its six words only, and the
    // list fills 9 mod 7 value columns.
    TestRecord damaged = Series({100, 100, 100, 100, 100, 100});
    damaged.valueCount = 9;
    fake::ClearUiCalls();
    ServiceHistoryAddSeries(damaged);
    EXPECT_EQ(g_serviceHistory.voltageHistogram[10], 6u);
    EXPECT_EQ(HistogramTotal(), 9u);
    std::vector<std::string> cells = Cells(fake::UiCallsOf("ListAddRow").at(0));
    EXPECT_EQ(cells[1], "10.0 кВ");
    EXPECT_EQ(cells[2], "");
}

TEST_F(ServiceHistoryTest, RowOfAThreeValueSeries) {
    TestRecord record = Series({523, 0x8000 + 1000, 480});
    record.resetCause = 4;
    record.resetCount = 12;
    ServiceHistoryAddSeries(record);
    std::vector<std::string> cells = Cells(fake::UiCallsOf("ListAddRow").at(0));
    ASSERT_EQ(cells.size(), 12u);
    const std::vector<std::string> values = {"52.3 кВ", ">100 кВ", "48.0 кВ", "", "", ""};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(cells[i], values[i]) << "subitem " << i;
    char mean[32];
    std::snprintf(mean, sizeof mean, "%.1f кВ", record.meanVoltage / 10.0);
    EXPECT_EQ(cells[6], mean);
    EXPECT_EQ(cells[8], std::to_string(record.variationPercent) + "%");
    EXPECT_EQ(cells[9], "4 ");
    EXPECT_EQ(cells[10], "12 ");
    EXPECT_EQ(cells[11], "10:30 9.4.2026");
}

TEST_F(ServiceHistoryTest, AFileHeldElsewhereLoadsNothingAndLosesOnlyItsAppends) {
    WriteLog(3);
    fake::SetFileLocked(kLog, true);
    Connect();
    EXPECT_EQ(ui::ListRowCount(kView, IDC_SERVICE_LIST), 0);
    EXPECT_EQ(Shown(IDC_SERVICE_SERIES_COUNT), "") << "670 keeps its text";
    TestRecord record = Series({500});
    ServiceHistoryAddSeries(record);
    EXPECT_EQ(Shown(IDC_SERVICE_SERIES_COUNT), "1(1)");
    EXPECT_EQ(fake::FileBytes(kLog).size(), 3u * 64);
    fake::SetFileLocked(kLog, false);
    ServiceHistoryAddSeries(record);
    EXPECT_EQ(fake::FileBytes(kLog).size(), 4u * 64);
}

TEST_F(ServiceHistoryTest, ReconnectionDoesNotReload) {
    WriteLog(2);
    Connect();
    WriteLog(7);
    Connect();
    EXPECT_EQ(ui::ListRowCount(kView, IDC_SERVICE_LIST), 2);
    EXPECT_EQ(Shown(IDC_SERVICE_SERIES_COUNT), "0(2)");
    EXPECT_EQ(std::string(g_serviceHistory.logFileName), kLog);
}

TEST_F(ServiceHistoryTest, WithoutServiceModeOnlyTheHistoryAndStatisticsChange) {
    g_programSettings.serviceMode = false;
    for (int kind = 0; kind <= 9; ++kind) {
        TestRecord any = Series({100});
        UpdateServiceView(kind == 0 ? static_cast<const void*>(kSerial) : &any, kind);
    }
    TestRecord record = Series({500, 540});
    ServiceHistoryAddSeries(record);
    EXPECT_TRUE(fake::UiCalls().empty());
    EXPECT_TRUE(fake::Files().empty());
    EXPECT_EQ(record.meanVoltage, 520);
    EXPECT_EQ(g_serviceHistory.seriesCount, 1);
}

TEST_F(ServiceHistoryTest, KindsWriteTheirControls) {
    struct Case {
        const char* what;
        int generation;
        std::vector<uint8_t> data;
        int kind;
        std::vector<std::pair<int, std::string>> shown;
    };
    // Generation-2 status answer: words at 22..33.
    std::vector<uint8_t> gen2(44, 0);
    const uint16_t words[] = {523, 1000, 17, 0, 2205, 1234};
    for (int i = 0; i < 6; ++i) {
        gen2[22 + 2 * i] = words[i] & 0xFF;
        gen2[23 + 2 * i] = words[i] >> 8;
    }
    DeviceSettings settings{};
    settings.countAndLift = 0xA6;  // lift 1010b
    settings.pauseAndFlags = 0x10;
    settings.calibrationConstant = 0x1F2E;
    settings.adcOffset = 0x0200;
    std::vector<uint8_t> settingsBytes(reinterpret_cast<uint8_t*>(&settings),
                                       reinterpret_cast<uint8_t*>(&settings) + sizeof settings);
    const Case cases[] = {
        {"reset cause", 1, {200}, 1, {{IDC_SERVICE_RESET_CAUSE, "200"}}},
        {"wrapped reset count", 1, {0xFF, 0xFF, 0xFF, 0xFF}, 2, {{IDC_SERVICE_RESET_COUNT, "255"}}},
        {"status bits", 1, {0x41}, 3,
         {{IDC_SERVICE_STATUS_BIT0, "MotorOn=1"}, {IDC_SERVICE_STATUS_BIT1, "NapravlUp=0"}, {IDC_SERVICE_STATUS_BIT3, "HightVoltOn=0"}, {IDC_SERVICE_STATUS_BIT6, "IzmerMode=1"}, {IDC_SERVICE_STATUS_BIT7, "MenuMode=0"}}},
        {"version", 1, {'V', '2', '.', '1', 0}, 4, {{IDC_SERVICE_VERSION, "V2.1"}}},
        {"generation-1 settings", 1, settingsBytes, 5,
         {{IDC_SERVICE_CALIBRATION, "1F2Eh"}, {IDC_SERVICE_METHOD, "ВЕКС-50"},
          {IDC_SERVICE_TABLE_LIFT, "-6 "}, {IDC_SERVICE_ADC_OFFSET, "0200h"}}},
        {"generation-2 settings", 2, settingsBytes, 5, {{IDC_SERVICE_CALIBRATION, ""}, {IDC_SERVICE_TABLE_LIFT, ""}}},
        {"not connected", 0, {}, 7, {{IDC_SERVICE_GENERATION, "Не подключен"}}},
        {"generation 1", 1, {}, 7, {{IDC_SERVICE_GENERATION, "К200В"}}},
        {"generation 2", 2, {}, 7, {{IDC_SERVICE_GENERATION, "К200В2"}}},
        {"generation-2 measurements", 2, gen2, 8,
         {{IDC_SERVICE_U1_LABEL, "U1"}, {IDC_SERVICE_U1, "52.3 кВ"}, {IDC_SERVICE_U2, "100.0 кВ"}, {IDC_SERVICE_I1_LABEL, "I1"}, {IDC_SERVICE_I1, "17.0 "}, {IDC_SERVICE_I2, "0.0 "},
          {IDC_SERVICE_LATR_U_LABEL, "LATR_U"}, {IDC_SERVICE_LATR_U, "220.5 В"}, {IDC_SERVICE_LATR_I_LABEL, "LATR_I"}, {IDC_SERVICE_LATR_I, "1.234 А"}}},
    };
    for (const Case& c : cases) {
        fake::Reset();
        fake::SetWindowExists(kView, true);
        g_deviceState.protocolGeneration = c.generation;
        UpdateServiceView(c.data.data(), c.kind);
        for (const auto& s : c.shown) EXPECT_EQ(Shown(s.first), s.second) << c.what << ", control " << s.first;
    }
    fake::ClearUiCalls();
    UpdateServiceView(gen2.data(), 9);
    EXPECT_TRUE(fake::UiCalls().empty());
}

TEST_F(ServiceHistoryTest, OnlyASeriesUnderWayTakesTheNextSlot) {
    TestRecord done = Series({500, 520});
    ServiceHistoryAddSeries(done);
    RecordHead before = g_serviceHistory.seriesRing[1];
    TestRecord running = Series({600});
    g_deviceState.status = 0;  // idle: the answer still carries the finished series
    UpdateServiceView(&done, 6);
    EXPECT_EQ(std::memcmp(&g_serviceHistory.seriesRing[1], &before, sizeof before), 0);
    g_deviceState.status = status_bits::kIzmerMode;
    UpdateServiceView(&running, 6);
    EXPECT_EQ(std::memcmp(&g_serviceHistory.seriesRing[1], &running, sizeof before), 0);
    g_deviceState.status = 0;
}

}  // namespace

TEST(ServiceViewLayout, BandsForGraphsAndTheListBelowScaledToTheScreen) {
    struct Case {
        int dpi, width, height, listHeight;
        int tops[3], heights[2];
    } cases[] = {{96, 700, 880, 510, {160, 300, 370}, {140, 70}},
                 {96, 300, 371, 1, {160, 300, 370}, {140, 70}},
                 {96, 300, 200, 0, {160, 300, 370}, {140, 70}},
                 {120, 800, 1000, 537, {200, 375, 463}, {175, 88}},
                 {144, 900, 1200, 645, {240, 450, 555}, {210, 105}}};
    for (const Case& c : cases) {
        ServiceViewPlace p[kServiceViewPlaces];
        LayOutServiceView(c.width, c.height, c.dpi, p);
        EXPECT_EQ(p[0].id, IDC_SERVICE_SERIES_GRAPH);
        EXPECT_EQ(p[1].id, IDC_SERVICE_HISTOGRAM);
        EXPECT_EQ(p[2].id, IDC_SERVICE_LIST);
        const int heights[] = {c.heights[0], c.heights[1], c.listHeight};
        for (int i = 0; i < kServiceViewPlaces; ++i) {
            EXPECT_EQ(p[i].x, 0);
            EXPECT_EQ(p[i].y, c.tops[i]) << c.dpi << " DPI, place " << i;
            EXPECT_EQ(p[i].width, c.width);
            EXPECT_EQ(p[i].height, heights[i]) << c.dpi << " DPI, " << c.height << ", place " << i;
        }
    }
}
