// Settings change through the generation-1 menu and the generation-2 frame.
#include "link/settings_exchange.h"

#include "link/crc32_words.h"
#include "tests/unit/link/sim_link_fixture.h"

namespace {

class SettingsExchangeTest : public SimLinkFixture {};

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
std::vector<uint8_t> Times(int n, std::vector<uint8_t> what) {
    std::vector<uint8_t> out;
    for (int i = 0; i < n; ++i) out.insert(out.end(), what.begin(), what.end());
    return out;
}

TEST_F(SettingsExchangeTest, Gen1MenuWalkSendsTheExpectedKeys) {
    const std::vector<uint8_t> kWalkUnchanged = Times(6, {0x48});
    struct Case {
        const char* name;
        bool menuOpen;
        int desiredCount;  // 0 = as the instrument has it
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        {"unchanged", false, 0, Concat({{0x02, 0x02, 0x60}, kWalkUnchanged, {0x41}})},
        {"menu open first", true, 0, Concat({{0x02, 0x41, 0x02, 0x60}, kWalkUnchanged, {0x41}})},
        // The instrument offers 1..6: seven is never reached.
        {"count never matches", false, 7,
         Concat({{0x02, 0x02, 0x60}, Times(12, {0x50, 0x02}), kWalkUnchanged, {0x41}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Start(Config("ORLA-K200V"));
        ExchangeStep(0x02);
        if (c.menuOpen) ExchangeStep(0x60);
        g_deviceState.desiredSettings = g_deviceState.currentSettings;
        if (c.desiredCount) g_deviceState.desiredSettings.countAndLift = static_cast<uint8_t>(c.desiredCount);
        size_t from = SimJournal().size();
        uint32_t start = fake::Now();
        ChangeDeviceSettings();
        EXPECT_EQ(CommandsSince(from), c.expected);
        ASSERT_EQ(fake::Beeps().size(), c.menuOpen ? 1u : 0u);
        if (c.menuOpen) {
            EXPECT_EQ(fake::Beeps()[0].frequency, 1000u);
            EXPECT_EQ(fake::Beeps()[0].milliseconds, 100u);
            EXPECT_EQ(fake::Beeps()[0].at, start + 50);  // right after the first read
        }
        TearDown();
    }
}

TEST_F(SettingsExchangeTest, Gen1MenuWalkReachesEveryItem) {
    Start(Config("ORLA-K200V"));
    ExchangeStep(0x02);
    DeviceSettings want = g_deviceState.currentSettings;
    want.countAndLift = static_cast<uint8_t>((want.countAndLift & 0xF0) | 4);
    want.pauseAndFlags = static_cast<uint8_t>((want.pauseAndFlags & 0x30) | 3);  // delay and sound off
    want.riseRate = 30;
    want.maxVoltage = 800;
    g_deviceState.desiredSettings = want;
    ChangeDeviceSettings();
    Iterations(4);  // polls read the settings back
    const DeviceSettings& got = g_deviceState.currentSettings;
    EXPECT_EQ(MeasurementCount(got), 4);
    EXPECT_EQ(PauseMinutes(got), 3);
    EXPECT_FALSE(PreTestDelay(got));
    EXPECT_EQ(got.riseRate, 30);
    EXPECT_EQ(got.maxVoltage, 800);
    EXPECT_FALSE(Sound(got));
    EXPECT_EQ(g_deviceState.status & status_bits::kMenuMode, 0);
}

TEST_F(SettingsExchangeTest, Gen2FrameCarriesDesiredBytesAndTheRestAsReceived) {
    SimConfig config = Config("ORLA-K200V2");
    config.errorOfMean = true;  // block byte 21 = 1 as received
    config.riseRate = 35;
    config.maxVoltage = 600;
    Start(config);
    Iterations(2);  // the settings poll
    uint8_t received[64];
    std::memcpy(received, g_deviceState.gen2SettingsBlock, 64);
    ASSERT_EQ(received[21], 1);
    DeviceSettings& d = g_deviceState.desiredSettings;
    d.countAndLift = 6;
    d.pauseAndFlags = 0xC5;
    d.riseRate = 20;
    d.maxVoltage = 1000;
    size_t from = SimJournal().size();
    ChangeDeviceSettings();
    auto writes = WritesSince(from);
    ASSERT_EQ(writes.size(), 1u);
    const std::vector<uint8_t>& f = writes[0];
    ASSERT_EQ(f.size(), 72u);
    EXPECT_EQ(f[0], 0x05);
    EXPECT_EQ(f[1], 0x48);
    EXPECT_EQ(Crc32Words(f.data(), 72), 0u);
    const uint8_t* b = f.data() + 4;
    EXPECT_EQ(b[16], 6);
    EXPECT_EQ(b[17], 5);
    EXPECT_EQ(b[18], 1);
    EXPECT_EQ(b[19], 20);
    EXPECT_EQ(b[20], 100);
    EXPECT_EQ(b[21], 1);
    EXPECT_EQ(b[22], 1);
    for (int i : {0, 15, 23, 63}) EXPECT_EQ(b[i], received[i]) << i;
    Iterations(4);
    EXPECT_EQ(g_deviceState.currentSettings.riseRate, 20);
    EXPECT_EQ(g_deviceState.currentSettings.maxVoltage, 1000);
}

// The frame sends the whole block back, calibration included: a block never
// read is asked for first and, when still missing, nothing is written.
TEST_F(SettingsExchangeTest, Gen2NeverSendsABlockItHasNotRead) {
    Connect("ORLA-K200V2");
    g_deviceState.desiredSettings.countAndLift = 3;
    ChangeDeviceSettings();
    EXPECT_EQ(testdrv::WrittenCommands(), (std::vector<uint8_t>{0x02}));
}

// A write failing in the middle of a change, served as the worker serves a
// dialog's OK. Whatever was lost, the instrument ends with the wish or, when
// the link never lets it through, the user is told; never a silent half.
TEST_F(SettingsExchangeTest, WriteFaultsDuringAChangeEndInTheWishOrAMessage) {
    using Mode = SimConfig::WriteFault;
    struct Case {
        const char* name;
        const char* description;
        int command, at, count;
        Mode mode;
        const char* message;  // nullptr: none, the wish reached the instrument
        bool countChanged;    // generation 1, told "не полностью": the first item landed
    };
    const Case cases[] = {
        // A lost DOWN: the walk no longer knows its item; SELECT on the wrong
        // one would set a value nobody chose.
        {"gen1 lost down", "ORLA-K200V", 0x48, 2, 1, Mode::Error, nullptr, true},
        {"gen1 lost select", "ORLA-K200V", 0x50, 3, 1, Mode::Error, nullptr, true},
        {"gen1 key written short", "ORLA-K200V", 0x48, 1, 1, Mode::Short, nullptr, true},
        {"gen1 cable pulled at a select", "ORLA-K200V", 0x50, 2, 1, Mode::Unplug, nullptr, true},
        {"gen1 every down lost", "ORLA-K200V", 0x48, 1, 100, Mode::Error,
         "Настройки прибора изменены не полностью.", true},
        {"gen1 menu never opens", "ORLA-K200V", 0x60, 1, 100, Mode::Error, "Настройки прибора не изменены.", false},
        {"gen2 frame written short", "ORLA-K200V2", 0x05, 1, 1, Mode::Short, nullptr, true},
        {"gen2 frame write fails", "ORLA-K200V2", 0x05, 1, 1, Mode::Error, nullptr, true},
        {"gen2 cable pulled at the frame", "ORLA-K200V2", 0x05, 1, 1, Mode::Unplug, nullptr, true},
        // The frame is sent again until the driver takes it whole: a
        // handful of short writes only delay it.
        {"gen2 frame written short five times", "ORLA-K200V2", 0x05, 1, 5, Mode::Short, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        SimConfig config = Config(c.description);
        config.failCommand = c.command;
        config.failCommandAt = c.at;
        config.failCommandCount = c.count;
        config.failCommandMode = c.mode;
        Start(config);
        Iterations(4);  // the settings have been read
        const DeviceSettings before = g_deviceState.currentSettings;
        DeviceSettings want = before;
        want.countAndLift = 4;
        want.pauseAndFlags = 3;  // delay and sound off
        want.riseRate = 30;
        want.maxVoltage = 800;
        RequestSettingsChange(want);
        Iterations(1);
        EXPECT_FALSE(g_deviceState.settingsChangeRequest);
        auto boxes = fake::UiCallsOf("PostMessageBox");
        if (c.message) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, c.message);
            EXPECT_EQ(boxes[0].caption, "Ошибка!");
        } else {
            EXPECT_TRUE(boxes.empty());
        }
        Iterations(8);  // polling goes on and reads the instrument back
        const DeviceSettings& got = g_deviceState.currentSettings;
        EXPECT_EQ(g_deviceState.status & status_bits::kMenuMode, 0);
        EXPECT_EQ(MeasurementCount(got), c.countChanged ? 4 : MeasurementCount(before));
        const bool restNew = c.message == nullptr;
        EXPECT_EQ(PauseMinutes(got), restNew ? 3 : PauseMinutes(before));
        EXPECT_EQ(PreTestDelay(got), restNew ? false : PreTestDelay(before));
        EXPECT_EQ(got.riseRate, restNew ? 30 : before.riseRate);
        EXPECT_EQ(got.maxVoltage, restNew ? 800 : before.maxVoltage);
        EXPECT_EQ(Sound(got), restNew ? false : Sound(before));
        TearDown();
    }
}

}  // namespace
