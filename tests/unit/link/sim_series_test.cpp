// Whole series against the simulated instrument.
#include <algorithm>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "verdict/verdict.h"

#include "link/search_indicator.h"
#include "sim/sim.h"
#include "tests/unit/link/link_fixture.h"

namespace {

const std::vector<uint16_t> kSix = {452, 470, 501, 483, 469, 495};

class SimLinkTest : public LinkTest {
protected:
    void Start(const std::string& description, const std::vector<uint16_t>& voltages = kSix) {
        SimConfig config;
        config.description = description;
        config.serial = "K2V000017";
        config.speed = 100.0;
        config.preTestDelay = false;
        config.voltages = voltages;
        config.measurementCount = static_cast<int>(voltages.size());
        Start(config);
    }
    void Start(const SimConfig& config) {
        SimSetClock(&fake::Now);
        SimReset(config);
        fake::SetDriverLibrary("ftd2xx.dll", [](const char* name) { return SimLookupFunction(name); });
        ASSERT_TRUE(LinkWorkerStartup());
    }
    // Iterations until printing is unlocked by a finished series, or a bound.
    int RunSeries(int bound = 3000) {
        fake::PostToWorker(0x42);
        int i = 0;
        while (i < bound && CountOf("Enable", ui::Window::Main, 172, 1) == 0) {
            EXPECT_TRUE(LinkWorkerIteration());
            ++i;
        }
        return i;
    }
    std::vector<uint8_t> WrittenCommands() {
        std::vector<uint8_t> out;
        for (const auto& e : SimJournal())
            if (e.write && !e.bytes.empty()) out.push_back(e.bytes[0]);
        return out;
    }
    size_t ArchivedGroups() {
        return fake::FileExists("log.dat") ? fake::FileBytes("log.dat").size() / (3 * sizeof(TestRecord)) : 0;
    }
};

TEST_F(SimLinkTest, Gen2SeriesIsReceivedAndArchivedOnce) {
    Start("ORLA-K200V2");
    EXPECT_EQ(g_deviceState.protocolGeneration, 2);
    ASSERT_LT(RunSeries(), 3000);
    EXPECT_EQ(g_currentRecord.valueCount, 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(g_currentRecord.breakdownVoltage[i], kSix[i]) << i;
    EXPECT_EQ(g_currentRecord.meanVoltage, 478);
    EXPECT_EQ(ArchivedGroups(), 1u);
    // Judged as it ended, without a method or norm, and the line says so.
    EXPECT_EQ(g_currentRecord.verdict.present, 1);
    EXPECT_EQ(fake::ControlText(ui::Window::Main, IDC_VERDICT), ConclusionText(g_currentRecord));
    Iterations(100);  // idle afterwards: nothing more is archived
    EXPECT_EQ(ArchivedGroups(), 1u);
    auto commands = WrittenCommands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), 0x42), commands.end());
}

// The archive and both protocols take the current record; the service list
// must show the same error, with the instrument's error-of-mean setting.
TEST_F(SimLinkTest, TheServiceListAndTheArchiveShowOneErrorForASeries) {
    struct Case {
        bool errorOfMean;
        uint16_t rms;
        const char* shown;
    } cases[] = {{true, 14, "1.4 кВ"}, {false, 24, "2.4 кВ"}};
    for (const Case& c : cases) {
        SetUp();
        g_programSettings.serviceMode = true;
        fake::SetWindowExists(ui::Window::ServiceView, true);
        SimConfig config;
        config.description = "ORLA-K200V2";
        config.speed = 100.0;
        config.preTestDelay = false;
        config.errorOfMean = c.errorOfMean;
        config.voltages = {452, 470, 501};
        config.measurementCount = 3;
        Start(config);
        ASSERT_LT(RunSeries(), 3000);
        EXPECT_EQ(g_currentRecord.rmsError, c.rms) << c.errorOfMean;
        auto rows = fake::UiCallsOf("ListAddRow");
        ASSERT_FALSE(rows.empty());
        EXPECT_NE(rows.back().text.find(std::string("|") + c.shown + "|"), std::string::npos) << rows.back().text;
        g_programSettings.serviceMode = false;
        TearDown();
    }
}

TEST_F(SimLinkTest, Gen1SeriesIsReceivedAndArchivedOnce) {
    Start("ORLA-K200", {300, 310, 320});
    EXPECT_EQ(g_deviceState.protocolGeneration, 1);
    ASSERT_LT(RunSeries(), 3000);
    EXPECT_EQ(g_currentRecord.valueCount, 3);
    EXPECT_EQ(g_currentRecord.breakdownVoltage[2], 320);
    EXPECT_EQ(g_currentRecord.meanVoltage, 310);
    EXPECT_EQ(ArchivedGroups(), 1u);
    Iterations(100);
    EXPECT_EQ(ArchivedGroups(), 1u);
}

TEST_F(SimLinkTest, UnplugSearchesAndTakesBackOnlyTheSameSerial) {
    Start("ORLA-K200V2");
    Iterations(2);
    fake::ClearUiCalls();
    const uint32_t unplugged = fake::Now();
    uint32_t nextTick = unplugged;
    int phase = 0;
    bool takenOther = true;
    fake::OnTimeAdvanced([&](uint32_t now) {
        while (now >= nextTick) {  // the indicator thread's ticks
            SearchIndicatorStep();
            nextTick += 300;
        }
        if (phase == 0 && now >= unplugged + 1500) {
            phase = 1;
            SimReplug("ANOTHER01");
        } else if (phase == 1 && now >= unplugged + 2500) {
            phase = 2;
            takenOther = g_deviceState.connected;
            SimUnplug();
            SimReplug("K2V000017");
        }
    });
    SimUnplug();
    Iterations(1);
    EXPECT_EQ(phase, 2);
    EXPECT_FALSE(takenOther);
    EXPECT_TRUE(g_deviceState.connected);
    std::vector<std::string> texts;
    for (const auto& c : fake::UiCallsOf("SetText"))
        if (c.id == ui::kStatusBar) texts.push_back(c.text);
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Поиск прибора");
    EXPECT_EQ(texts[1], "Поиск прибора.");
    EXPECT_EQ(texts[2], "Поиск прибора..");
    EXPECT_EQ(texts[3], "Поиск прибора...");
    EXPECT_EQ(texts.back(), "Прибор подключен");
    Iterations(4);
    EXPECT_TRUE(g_deviceState.connected);
}

TEST_F(SimLinkTest, InjectedFloodIsReadInTwoIterations) {
    Start("ORLA-K200V2");
    SimInjectReceived(std::vector<uint8_t>(10500, 0xAA));
    Iterations(1);
    EXPECT_EQ(g_rxCount, 10000u);
    Iterations(1);
    EXPECT_GE(g_rxCount, 500u);
    EXPECT_LT(g_rxCount, 10000u);
}

TEST_F(SimLinkTest, Gen2PollsReachTheInstrumentAsShortFrames) {
    Start("ORLA-K200V2");
    Iterations(4);
    std::vector<std::vector<uint8_t>> writes;
    for (const auto& e : SimJournal())
        if (e.write) writes.push_back(e.bytes);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[3], (std::vector<uint8_t>{0x20, 0x08, 0x00, 0x00, 0xC9, 0x28, 0x6F, 0xD5}));
    EXPECT_EQ(WrittenCommands(), (std::vector<uint8_t>{0x02, 0x01, 0x00, 0x20}));
}

// The cable is pulled while values are coming in and put back once the
// instrument has reached the given state code: the series must be archived
// exactly once, whether the end shows after the replug or went by unseen.
TEST_F(SimLinkTest, SeriesEndingWhileUnpluggedIsArchivedOnce) {
    struct Case {
        const char* description;
        int replugState;  // state code at which the cable comes back
    };
    for (const Case& c : {Case{"ORLA-K200V2", 0}, Case{"ORLA-K200V2", 9}, Case{"ORLA-K200", 0}}) {
        SCOPED_TRACE(std::string(c.description) + " back at state " + std::to_string(c.replugState));
        SetUp();
        Start(c.description, {300, 310, 320});
        int phase = 0;
        bool passedEnd = false;  // idle only counts once the series is over
        fake::OnTimeAdvanced([&](uint32_t) {
            int state = SimStateCode();
            if (phase == 0 && g_currentRecord.valueCount >= 1 && state == 3) {
                SimUnplug();
                phase = 1;
            } else if (phase == 1) {
                if (state == 9 || state == 5) passedEnd = true;
                if (state == c.replugState && (c.replugState != 0 || passedEnd)) {
                    SimReplug();
                    phase = 2;
                }
            }
        });
        fake::PostToWorker(0x42);
        for (int i = 0; i < 4000 && phase < 2; ++i) ASSERT_TRUE(LinkWorkerIteration());
        ASSERT_EQ(phase, 2);
        Iterations(300);
        EXPECT_EQ(ArchivedGroups(), 1u);
        EXPECT_EQ(g_currentRecord.valueCount, 3);
        EXPECT_EQ(g_currentRecord.meanVoltage, 310);
        EXPECT_TRUE(fake::IsEnabled(ui::Window::Main, 172));
        TearDown();
    }
}

// A generation-1 sample that holds the maximum voltage without breaking
// down is reported with bit 15 set; it is a value of the series like any
// other, shown and archived as such.
TEST_F(SimLinkTest, Gen1NoBreakdownValueIsTakenAndArchived) {
    Start("ORLA-K200", {300, 1200, 320});
    ASSERT_LT(RunSeries(), 3000);
    EXPECT_EQ(g_currentRecord.valueCount, 3);
    EXPECT_EQ(g_currentRecord.breakdownVoltage[1], 0x8000 | 1000);
    EXPECT_EQ(ArchivedGroups(), 1u);
    std::string line = fake::ControlText(ui::Window::Main, ui::kStatusBar);
    EXPECT_NE(line.find(">100 "), std::string::npos) << line;
}

}  // namespace
