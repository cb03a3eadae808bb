// Answers parsed into the device state and the main window they update.
#include <string>
#include <vector>

#include "tests/unit/link/link_fixture.h"

namespace {

using status_bits::kHightVoltOn;
using status_bits::kIzmerMode;
using status_bits::kMotorOn;
using status_bits::kNapravlUp;
using status_bits::kProboy;
using status_bits::kSelectLatr;

class ParseTest : public LinkTest {
protected:
    void Generation(int g) { g_deviceState.protocolGeneration = g; }
    // Each finished series unlocks printing exactly once.
    int SeriesEnded() { return CountOf("Enable", ui::Window::Main, 172, 1); }
    std::string StatusBar() { return fake::ControlText(ui::Window::Main, ui::kStatusBar); }
};

const std::vector<uint16_t> kSix = {452, 470, 501, 483, 469, 495};

// ---------------------------------------------------------------- generation 1

TEST_F(ParseTest, Gen1SeriesEndsOnceWhenMeasuringDrops) {
    Generation(1);
    for (int k = 0; k < kProtocolTextCount; ++k)
        fake::TypeText(ui::Window::Main, 140 + k, "поле " + std::to_string(k));
    Parse(Gen1Results(kIzmerMode | kMotorOn, 5, kSix));
    EXPECT_EQ(SeriesEnded(), 0);
    Parse(Gen1Results(0, 6, kSix));
    EXPECT_EQ(SeriesEnded(), 1);
    EXPECT_STREQ(g_currentRecord.protocolText[0], "поле 0");
    EXPECT_STREQ(g_currentRecord.protocolText[12], "поле 12");
    Parse(Gen1Results(0, 6, kSix));
    EXPECT_EQ(SeriesEnded(), 1);
}

TEST_F(ParseTest, Gen1RejectedResultsLeaveRecordAndSeriesAlone) {
    Generation(1);
    Parse(Gen1Results(kIzmerMode, 3, {452, 470, 501}));
    TestRecord before = g_currentRecord;
    std::string line = StatusBar();

    // Voltages above 100.0 kV are garbage, with or without the no-breakdown bit.
    for (uint16_t garbage : {uint16_t(1001), uint16_t(0x8000 | 1001), uint16_t(0xFFFF)}) {
        Parse(Gen1Results(0, 6, {452, 470, 501, garbage, 469, 495}));
        EXPECT_EQ(SeriesEnded(), 0) << garbage;
        EXPECT_EQ(g_deviceState.previousStatus, kIzmerMode);
        EXPECT_EQ(StatusBar(), line);
        EXPECT_EQ(std::memcmp(&before, &g_currentRecord, sizeof before), 0);
    }

    // More than six values would run past the record's slots.
    Parse(Gen1Results(0, 7, kSix));
    EXPECT_EQ(SeriesEnded(), 0);
    EXPECT_EQ(g_currentRecord.valueCount, 3);

    // The series still ends at the next sound answer.
    Parse(Gen1Results(0, 6, kSix));
    EXPECT_EQ(SeriesEnded(), 1);
}

TEST_F(ParseTest, Gen1WrongLengthsOrHeadersChangeAtMostTheStatus) {
    Generation(1);
    std::vector<uint8_t> a = Gen1Results(kIzmerMode, 2, {300, 310});
    a.pop_back();  // 36 bytes
    Parse(a);
    EXPECT_EQ(g_deviceState.status, kIzmerMode);
    EXPECT_EQ(g_currentRecord.valueCount, 0);
    a.push_back(0);
    a.push_back(0);  // 38 bytes
    a[4] = kMotorOn;
    Parse(a);
    EXPECT_EQ(g_deviceState.status, kMotorOn);
    EXPECT_EQ(g_currentRecord.valueCount, 0);

    a = Gen1Results(kIzmerMode, 2, {300, 310});
    a[2] = 0xFE;
    Parse(a);
    EXPECT_EQ(g_deviceState.status, kMotorOn);
    a = Gen1Answer(0xFF, kIzmerMode, {});
    Parse(a);
    EXPECT_EQ(g_deviceState.status, kMotorOn);
    EXPECT_TRUE(fake::UiCallsOf("SetText").empty());
}

TEST_F(ParseTest, Gen1ResetCountsFromTheFirstAnswer) {
    Generation(1);
    Parse(Gen1Answer(0x13, 0, {7, 200}));
    EXPECT_EQ(g_currentRecord.resetCount, 0);
    EXPECT_EQ(g_currentRecord.resetCause, 7);
    Parse(Gen1Answer(0x13, 0, {3, 202}));
    EXPECT_EQ(g_currentRecord.resetCount, 2);
    EXPECT_EQ(g_currentRecord.resetCause, 3);

    ResetDeviceState();
    Generation(1);
    Parse(Gen1Answer(0x13, 0, {1, 254}));
    Parse(Gen1Answer(0x13, 0, {1, 1}));
    EXPECT_EQ(g_currentRecord.resetCount, 3);
}

TEST_F(ParseTest, Gen1SettingsAndVersion) {
    Generation(1);
    // count 6 lift 2; pause 5 + delay + sound; rate 0x99,0x0F (only 15 counts); max 1000.
    Parse(Gen1Answer(0x02, 0, {0x26, 0xC5, 0x99, 0x0F, 0x03, 0xE8, 0x34, 0x12, 0, 9, 0x01, 0x02, 0, 0, 0, 0,
                               0x00, 0x10, 0x78, 0x56}));
    const DeviceSettings& s = g_deviceState.currentSettings;
    EXPECT_EQ(s.countAndLift, 0x26);
    EXPECT_EQ(s.pauseAndFlags, 0xC5);
    EXPECT_EQ(s.riseRate, 15);
    EXPECT_EQ(s.maxVoltage, 1000);
    EXPECT_EQ(s.word6, 0x1234);
    EXPECT_EQ(s.word8, 9);
    EXPECT_EQ(s.calibrationConstant, 0x0102);
    EXPECT_EQ(s.adcOffset, 0x0010);
    EXPECT_EQ(s.word18, 0x5678);
    EXPECT_EQ(std::memcmp(&g_currentRecord.settingsSnapshot, &s, sizeof s), 0);
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 133), "6");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 134), "5 мин.");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 135), "есть");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 136), "1.5 кВ/с");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 137), "100 кВ");

    Parse(Gen1Answer(0x00, 0, {'V', '2', '.', '1', '7', ' ', ' ', 'X'}));
    EXPECT_STREQ(g_deviceState.deviceVersion, "V2.17  X");
}

TEST_F(ParseTest, SlowRiseRateShowsOneDecimal) {
    DeviceSettings s = {};
    s.riseRate = 5;
    ShowTestParameters(s);
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 135), "нет");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 136), "0.5 кВ/с");
}

TEST_F(ParseTest, Gen1ResultsLine) {
    Generation(1);
    // Running: the rising voltage in the next slot is shown too.
    Parse(Gen1Results(kIzmerMode, 2, {452, 470, 312}));
    EXPECT_EQ(StatusBar(), "Проведено измерений 2 : 45.2 кВ 47.0 кВ 31.2 кВ  Среднее: 46.1 кВ");
    // After a breakdown there is no rising voltage.
    Parse(Gen1Results(kIzmerMode | kProboy, 2, {452, 470, 312}));
    EXPECT_EQ(StatusBar(), "Проведено измерений 2 : 45.2 кВ 47.0 кВ  Среднее: 46.1 кВ");
    // Finished.
    Parse(Gen1Results(0, 6, kSix));
    EXPECT_EQ(StatusBar(),
              "Проведено измерений 6 : 45.2 кВ 47.0 кВ 50.1 кВ 48.3 кВ 46.9 кВ 49.5 кВ  Среднее: 47.8 кВ");
    // Nothing measured yet: the first slot, no mean.
    Parse(Gen1Results(kIzmerMode, 0, {0}));
    EXPECT_EQ(StatusBar(), "Проведено измерений 0 : 0.0 кВ");
}

TEST_F(ParseTest, ResultsLineNeverShowsMoreThanSixSlots) {
    Generation(1);
    TestRecord r = {};
    r.valueCount = 6;
    r.seriesLength = 9;
    for (int i = 0; i < 6; ++i) r.breakdownVoltage[i] = 100;
    r.meanVoltage = 777;  // directly after the slots: must not show as a seventh value
    ShowResultsLine(r);
    EXPECT_EQ(StatusBar(),
              "Проведено измерений 6 : 10.0 кВ 10.0 кВ 10.0 кВ 10.0 кВ 10.0 кВ 10.0 кВ  Среднее: 77.7 кВ");
}

TEST_F(ParseTest, LockStepFollowsMeasuring) {
    Generation(1);
    g_programSettings.serviceMode = true;
    Parse(Gen1Answer(0x04, kIzmerMode, {}));
    EXPECT_FALSE(fake::IsEnabled(ui::Window::Main, 170));
    EXPECT_FALSE(fake::IsMenuEnabled(ui::Window::Main, 206));
    EXPECT_FALSE(fake::IsEnabled(ui::Window::Main, 172));
    EXPECT_FALSE(fake::IsMenuEnabled(ui::Window::Main, 172));
    EXPECT_FALSE(fake::IsMenuEnabled(ui::Window::Main, 201));
    EXPECT_FALSE(fake::IsEnabled(ui::Window::ServiceView, 646));

    Parse(Gen1Answer(0x04, 0, {}));
    EXPECT_TRUE(fake::IsEnabled(ui::Window::Main, 170));
    EXPECT_TRUE(fake::IsMenuEnabled(ui::Window::Main, 206));
    EXPECT_TRUE(fake::IsEnabled(ui::Window::ServiceView, 646));
    // Printing waits for a finished series.
    EXPECT_FALSE(fake::IsEnabled(ui::Window::Main, 172));
    EXPECT_FALSE(fake::IsMenuEnabled(ui::Window::Main, 201));

    EnableProtocolOutput(true);
    EXPECT_TRUE(fake::IsEnabled(ui::Window::Main, 172));
    EXPECT_TRUE(fake::IsMenuEnabled(ui::Window::Main, 172));
    EXPECT_TRUE(fake::IsMenuEnabled(ui::Window::Main, 201));
}

TEST_F(ParseTest, ServiceViewButtonUntouchedOutsideServiceMode) {
    Generation(1);
    Parse(Gen1Answer(0x04, kIzmerMode, {}));
    for (const auto& c : fake::UiCalls()) EXPECT_NE(c.window, ui::Window::ServiceView);
}

TEST_F(ParseTest, Gen1RunInRestartsOnlyInServiceMode) {
    Generation(1);
    g_programSettings.progonkaMode = true;
    Parse(Gen1Results(kIzmerMode | kMotorOn, 5, kSix));
    uint32_t before = fake::Now();
    Parse(Gen1Results(kMotorOn, 6, kSix));
    EXPECT_EQ(fake::Now() - before, 2000u);
    EXPECT_TRUE(g_deviceState.autoRestartPending);
    Parse(Gen1Answer(0x04, 0, {}));
    EXPECT_TRUE(fake::PostedCommands().empty());

    g_programSettings.serviceMode = true;
    Parse(Gen1Answer(0x04, kMotorOn, {}));
    EXPECT_TRUE(fake::PostedCommands().empty());
    Parse(Gen1Answer(0x04, 0, {}));
    ASSERT_EQ(fake::PostedCommands().size(), 1u);
    EXPECT_EQ(fake::PostedCommands()[0].second, 0x42);
    EXPECT_FALSE(g_deviceState.autoRestartPending);
}

// ---------------------------------------------------------------- generation 2

TEST_F(ParseTest, Gen2SeriesEndsOnceWhenTheStateTurnsFinished) {
    Generation(2);
    Parse(Gen2Status(0, 0, {}));
    Parse(Gen2Status(3, 5, kSix));
    EXPECT_EQ(g_deviceState.status & kIzmerMode, kIzmerMode);
    EXPECT_EQ(SeriesEnded(), 0);
    Parse(Gen2Status(9, 6, kSix));
    EXPECT_EQ(SeriesEnded(), 1);
    EXPECT_EQ(g_deviceState.status & kIzmerMode, 0);
    Parse(Gen2Status(91, 6, kSix));
    Parse(Gen2Status(9, 6, kSix));
    EXPECT_EQ(SeriesEnded(), 1);
    EXPECT_EQ(g_deviceState.previousStatus, 9);
}

TEST_F(ParseTest, FinishedSeriesIsArchivedOnce) {
    Generation(2);
    Parse(Gen2Status(3, 5, kSix));
    Parse(Gen2Status(9, 6, kSix));
    Parse(Gen2Status(91, 6, kSix));
    ASSERT_TRUE(fake::FileExists("log.dat"));
    EXPECT_EQ(fake::FileBytes("log.dat").size(), 3 * sizeof(TestRecord));
}

TEST_F(ParseTest, SeriesThatCannotBeArchivedCanStillBePrinted) {
    Generation(2);
    fake::SetFileLocked("log.dat", true);
    Parse(Gen2Status(3, 5, kSix));
    Parse(Gen2Status(9, 6, kSix));
    EXPECT_EQ(SeriesEnded(), 1);
    EXPECT_TRUE(fake::IsEnabled(ui::Window::Main, 172));
    EXPECT_TRUE(fake::IsMenuEnabled(ui::Window::Main, 201));
    // The user is told once, in a box that leaves the worker polling.
    EXPECT_EQ(fake::UiCallsOf("PostMessageBox").size(), 1u);
    EXPECT_TRUE(fake::UiCallsOf("MessageBox").empty());
    EXPECT_EQ(g_currentRecord.valueCount, 6);
}

TEST_F(ParseTest, Gen2StateCodesSetTheStatusBits) {
    Generation(2);
    g_deviceState.status = kNapravlUp | kProboy;
    Parse(Gen2Status(1, 0, {}));
    EXPECT_EQ(g_deviceState.status, kNapravlUp | kProboy | kIzmerMode | kMotorOn);
    Parse(Gen2Status(3, 0, {}));
    EXPECT_EQ(g_deviceState.status, kNapravlUp | kProboy | kIzmerMode | kSelectLatr | kHightVoltOn);
    Parse(Gen2Status(91, 0, {}));
    EXPECT_EQ(g_deviceState.status, kNapravlUp | kProboy | kSelectLatr);

    // Not measuring (byte 2): only IzmerMode drops.
    g_deviceState.status = kIzmerMode | kMotorOn | kSelectLatr | kHightVoltOn;
    Parse(Gen2Status(3, 0, {}, 1));
    EXPECT_EQ(g_deviceState.status, kMotorOn | kSelectLatr | kHightVoltOn);
}

TEST_F(ParseTest, Gen2NotMeasuringAnswerDoesNotEndTheSeries) {
    Generation(2);
    Parse(Gen2Status(3, 5, kSix));
    Parse(Gen2Status(9, 6, kSix, 1));
    EXPECT_EQ(SeriesEnded(), 0);
}

TEST_F(ParseTest, Gen2CountAboveSixIsNotTaken) {
    Generation(2);
    Parse(Gen2Status(3, 5, kSix));
    TestRecord before = g_currentRecord;
    Parse(Gen2Status(9, 200, kSix));
    EXPECT_EQ(SeriesEnded(), 0);
    EXPECT_EQ(std::memcmp(&before, &g_currentRecord, sizeof before), 0);
    EXPECT_EQ(g_deviceState.status & kIzmerMode, 0);  // the state itself still follows
    // The end of the series is caught at the next sound answer.
    Parse(Gen2Status(9, 6, kSix));
    EXPECT_EQ(SeriesEnded(), 1);
    EXPECT_EQ(g_currentRecord.valueCount, 6);
}

TEST_F(ParseTest, Gen2ResultsLine) {
    Generation(2);
    Parse(Gen2Status(3, 2, {452, 470, 312}));
    EXPECT_EQ(StatusBar(), "Проведено измерений 2 : 45.2 кВ 47.0 кВ  Среднее: 46.1 кВ");
    Parse(Gen2Status(9, 6, kSix));
    EXPECT_EQ(StatusBar(),
              "Проведено измерений 6 : 45.2 кВ 47.0 кВ 50.1 кВ 48.3 кВ 46.9 кВ 49.5 кВ  Среднее: 47.8 кВ");
    EXPECT_EQ(g_currentRecord.seriesLength, 6);
}

TEST_F(ParseTest, Gen2SettingsAnswer) {
    Generation(2);
    g_deviceState.currentSettings.calibrationConstant = 4321;
    std::vector<uint8_t> f(72, 0);
    f[0] = 0x02;
    uint8_t* b = f.data() + 4;
    b[16] = 6;
    b[17] = 5;
    b[18] = 1;
    b[19] = 20;
    b[20] = 100;
    b[21] = 0;
    b[22] = 1;
    b[63] = 0xAB;
    Parse(Gen2Frame(f));
    const DeviceSettings& s = g_deviceState.currentSettings;
    EXPECT_EQ(MeasurementCount(s), 6);
    EXPECT_EQ(PauseMinutes(s), 5);
    EXPECT_TRUE(PreTestDelay(s));
    EXPECT_FALSE(ErrorOfMean(s));
    EXPECT_TRUE(Sound(s));
    EXPECT_EQ(s.riseRate, 20);
    EXPECT_EQ(s.maxVoltage, 1000);
    EXPECT_EQ(s.calibrationConstant, 4321);  // not carried by generation 2
    EXPECT_EQ(g_deviceState.gen2SettingsBlock[63], 0xAB);
    EXPECT_EQ(g_currentRecord.settingsSnapshot.maxVoltage, 1000);
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 133), "6");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 134), "5 мин.");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 135), "есть");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 136), "2 кВ/с");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 137), "100 кВ");
}

TEST_F(ParseTest, Gen2DamagedOrShortFramesAreDropped) {
    Generation(2);
    std::vector<uint8_t> f = Gen2Status(3, 2, {452, 470});
    f[12] ^= 1;
    Parse(f);
    f = Gen2Status(3, 2, {452, 470});
    f.resize(40);
    Parse(f);
    // A frame whose CRC is right but too short for the status fields.
    Parse(Gen2Frame({0x20, 0, 0, 3, 6, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(g_deviceState.status, 0);
    EXPECT_EQ(g_currentRecord.valueCount, 0);
    EXPECT_TRUE(fake::UiCalls().empty());
}

TEST_F(ParseTest, Gen2VersionAndEraseAnswers) {
    Generation(2);
    std::vector<uint8_t> v(28, 0);
    const char* text = "K2V-1.05";
    std::memcpy(v.data() + 15, text, 8);
    Parse(Gen2Frame(v));
    EXPECT_STREQ(g_deviceState.deviceVersion, "K2V-1.05");

    Parse(Gen2Frame({0x09, 0, 0, 5, 0, 0, 0, 0}));
    auto boxes = fake::UiCallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Ошибка записи. Ошибка файловой системы 5");
    EXPECT_EQ(boxes[0].caption, "Ошибка!");
    EXPECT_EQ(boxes[0].window, ui::Window::Main);
}

TEST_F(ParseTest, Gen2RunInRestartNeedsServiceModeAndMode2) {
    Generation(2);
    g_programSettings.progonkaMode = true;
    Parse(Gen2Status(3, 5, kSix));
    Parse(Gen2Status(9, 6, kSix));
    EXPECT_TRUE(g_deviceState.autoRestartPending);
    Parse(Gen2Status(9, 6, kSix, 0, 2));
    EXPECT_TRUE(fake::PostedCommands().empty());

    g_programSettings.serviceMode = true;
    Parse(Gen2Status(9, 6, kSix, 0, 1));
    EXPECT_TRUE(fake::PostedCommands().empty());
    Parse(Gen2Status(9, 6, kSix, 0, 2));
    ASSERT_EQ(fake::PostedCommands().size(), 1u);
    EXPECT_EQ(fake::PostedCommands()[0].second, 0x42);
    EXPECT_FALSE(g_deviceState.autoRestartPending);
}

TEST_F(ParseTest, NothingIsParsedBeforeAGenerationIsKnown) {
    Parse(Gen1Results(kIzmerMode, 2, {300, 310}));
    Parse(Gen2Status(3, 2, {300, 310}));
    EXPECT_EQ(g_deviceState.status, 0);
    EXPECT_TRUE(fake::UiCalls().empty());
}

}  // namespace
