// The device settings lists: items, selection from the instrument and back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/device_settings_choice.h"
#include "app/settings_dialog_ids.h"

namespace {

DeviceSettings Make(uint8_t byte0, uint8_t byte1, uint16_t rate, uint16_t maximum) {
    DeviceSettings s = {};
    s.countAndLift = byte0;
    s.pauseAndFlags = byte1;
    s.riseRate = rate;
    s.maxVoltage = maximum;
    s.calibrationConstant = 1000;
    s.adcOffset = 512;
    return s;
}

struct ChoiceCase {
    const char* what;
    DeviceSettings reported;
    int count, pause, delay, rate, maximum, sound;
};

}  // namespace

TEST(DeviceSettingsChoice, ListsHoldTheirItemsInOrder) {
    const int ids[] = {IDC_LIST_COUNT, IDC_LIST_PAUSE, IDC_LIST_DELAY, IDC_LIST_RATE, IDC_LIST_MAXIMUM, IDC_LIST_SOUND};
    const int counts[] = {6, 10, 2, 4, 5, 2};
    for (int l = 0; l < kDeviceSettingsListCount; ++l) {
        EXPECT_EQ(kDeviceSettingsLists[l].listId, ids[l]);
        EXPECT_EQ(kDeviceSettingsLists[l].itemCount, counts[l]);
    }
    EXPECT_EQ(std::string(kDeviceSettingsLists[kListPause].items[9]), "9 мин");
    EXPECT_EQ(std::string(kDeviceSettingsLists[kListRate].items[0]), "0.5 кВ/сек");
    EXPECT_EQ(std::string(kDeviceSettingsLists[kListMaximum].items[4]), "100 кВ");
    EXPECT_EQ(std::string(kDeviceSettingsLists[kListSound].items[1]), "выкл.");
}

TEST(DeviceSettingsChoice, SelectionFollowsTheReportedSettings) {
    const ChoiceCase cases[] = {
        {"defaults, lift and flags ignored", Make(0x36, 0xF1, 20, 1000), 5, 1, 0, 2, 4, 0},
        {"lowest of every table", Make(0x01, 0x00, 5, 600), 0, 0, 1, 0, 0, 1},
        {"count 0 and pause 10 match nothing", Make(0x00, 0x4A, 50, 700), -1, -1, 0, 3, 1, 1},
        {"count 7 and pause 15", Make(0x07, 0x8F, 10, 900), -1, -1, 1, 1, 3, 0},
        {"rate 3 kV/s and 55 kV are extra items", Make(0x06, 0x09, 30, 550), 5, 9, 1, 4, 5, 1},
    };
    for (const ChoiceCase& c : cases) {
        DeviceSettingsChoice got = ChoiceFromSettings(c.reported);
        const int want[] = {c.count, c.pause, c.delay, c.rate, c.maximum, c.sound};
        for (int l = 0; l < kDeviceSettingsListCount; ++l) EXPECT_EQ(got.index[l], want[l]) << c.what << ", list " << l;
    }
}

TEST(DeviceSettingsChoice, ValueBetweenItemsIsAnExtraItem) {
    const struct {
        uint16_t rate, maximum;
        const char *rateItem, *maximumItem;
    } cases[] = {{25, 650, "2.5 кВ/сек", "65 кВ"}, {30, 655, "3 кВ/сек", "65.5 кВ"}, {20, 1000, "", ""}};
    for (const auto& c : cases) {
        DeviceSettingsChoice got = ChoiceFromSettings(Make(0x06, 0x00, c.rate, c.maximum));
        EXPECT_EQ(std::string(got.extra[kListRate]), c.rateItem) << c.rate;
        EXPECT_EQ(std::string(got.extra[kListMaximum]), c.maximumItem) << c.maximum;
        EXPECT_EQ(std::string(got.extra[kListCount]), "");
        DeviceSettings back = SettingsFromChoice(got, Make(0x06, 0x00, c.rate, c.maximum));
        EXPECT_EQ(back.riseRate, c.rate) << "OK keeps the shown rate";
        EXPECT_EQ(back.maxVoltage, c.maximum);
    }
}

TEST(DeviceSettingsChoice, OkWithoutChangesClearsLiftAndServiceFlagsOnly) {
    DeviceSettings reported = Make(0x36, 0xF1, 20, 1000);  // lift 3, altMethod and errorOfMean set
    reported.word6 = 0x1234;
    DeviceSettings d = SettingsFromChoice(ChoiceFromSettings(reported), reported);
    EXPECT_EQ(d.countAndLift, 0x06);
    EXPECT_EQ(d.pauseAndFlags, 0xC1);  // sound, delay, pause 1
    EXPECT_EQ(d.riseRate, 20);
    EXPECT_EQ(d.maxVoltage, 1000);
    EXPECT_EQ(d.word6, 0x1234);
    EXPECT_EQ(d.calibrationConstant, 1000);
}

TEST(DeviceSettingsChoice, EveryItemMapsToItsValue) {
    const DeviceSettings reported = Make(0x06, 0xC1, 20, 1000);
    const uint16_t rates[] = {5, 10, 20, 50};
    const uint16_t maximums[] = {600, 700, 800, 900, 1000};
    for (int i = 0; i < 10; ++i) {
        DeviceSettingsChoice c = ChoiceFromSettings(reported);
        c.index[kListCount] = i % 6;
        c.index[kListPause] = i;
        c.index[kListDelay] = i % 2;
        c.index[kListRate] = i % 4;
        c.index[kListMaximum] = i % 5;
        c.index[kListSound] = (i / 2) % 2;
        DeviceSettings d = SettingsFromChoice(c, reported);
        EXPECT_EQ(MeasurementCount(d), i % 6 + 1);
        EXPECT_EQ(TableLift(d), 0);
        EXPECT_EQ(PauseMinutes(d), i);
        EXPECT_EQ(PreTestDelay(d), i % 2 == 0);
        EXPECT_EQ(Sound(d), (i / 2) % 2 == 0);
        EXPECT_FALSE(AltMethod(d));
        EXPECT_FALSE(ErrorOfMean(d));
        EXPECT_EQ(d.riseRate, rates[i % 4]);
        EXPECT_EQ(d.maxVoltage, maximums[i % 5]);
        // Both directions agree.
        DeviceSettingsChoice back = ChoiceFromSettings(d);
        EXPECT_EQ(0, std::memcmp(back.index, c.index, sizeof c.index)) << "item set " << i;
    }
}

TEST(DeviceSettingsChoice, ListWithoutSelectionKeepsTheReportedValue) {
    // Count 0, pause 12, 3 kV/s and 55 kV: the dialog opens with four empty
    // lists; OK changes only what the operator picked.
    const DeviceSettings reported = Make(0x20, 0xBC, 30, 550);
    DeviceSettingsChoice c = ChoiceFromSettings(reported);
    DeviceSettings d = SettingsFromChoice(c, reported);
    EXPECT_EQ(d.countAndLift, 0x00);
    EXPECT_EQ(d.pauseAndFlags, 0x8C);  // sound kept, altMethod and errorOfMean cleared
    EXPECT_EQ(d.riseRate, 30);
    EXPECT_EQ(d.maxVoltage, 550);

    c.index[kListRate] = 1;
    c.index[kListDelay] = kNoSelection;  // cannot happen in the dialog, kept all the same
    c.index[kListMaximum] = 7;           // beyond the list
    d = SettingsFromChoice(c, reported);
    EXPECT_EQ(d.riseRate, 10);
    EXPECT_EQ(d.maxVoltage, 550);
    EXPECT_TRUE(Sound(d));
    EXPECT_FALSE(PreTestDelay(d));
    EXPECT_EQ(PauseMinutes(d), 12);
}
