// Device settings dialog: list items and the two directions between the
// instrument's settings and the lists' selections.
#include "app/device_settings_choice.h"

#include <cstring>

#include "common/format.h"
#include "app/settings_dialog_ids.h"

namespace {

const char* const kCountItems[] = {"1", "2", "3", "4", "5", "6"};
const char* const kPauseItems[] = {"0 мин", "1 мин", "2 мин", "3 мин", "4 мин",
                                   "5 мин", "6 мин", "7 мин", "8 мин", "9 мин"};
const char* const kDelayItems[] = {"есть", "нет"};
const char* const kRateItems[] = {"0.5 кВ/сек", "1 кВ/сек", "2 кВ/сек", "5 кВ/сек"};
const char* const kMaximumItems[] = {"60 кВ", "70 кВ", "80 кВ", "90 кВ", "100 кВ"};
const char* const kSoundItems[] = {"вкл.", "выкл."};

// One table per direction would let them drift apart; these serve both.
constexpr uint16_t kRates[] = {5, 10, 20, 50};         // 0.1 kV/s
constexpr uint16_t kMaximums[] = {600, 700, 800, 900, 1000};  // 0.1 kV

template <typename T, int N>
constexpr int CountOf(T (&)[N]) {
    return N;
}
static_assert(CountOf(kRates) == CountOf(kRateItems), "one rate per item");
static_assert(CountOf(kMaximums) == CountOf(kMaximumItems), "one voltage per item");

template <int N>
int IndexOf(const uint16_t (&table)[N], int value) {
    for (int i = 0; i < N; ++i)
        if (table[i] == value) return i;
    return kNoSelection;
}

// An instrument set from its own keys may hold a value between the items;
// showing it keeps OK from looking like it would change it.
template <int N>
void SelectValue(DeviceSettingsChoice* c, DeviceSettingsList list, const uint16_t (&table)[N], uint16_t tenths,
                 const char* unit) {
    c->index[list] = IndexOf(table, tenths);
    if (c->index[list] != kNoSelection) return;
    char text[256];
    FormatTenths(text, tenths, unit);
    std::strncpy(c->extra[list], text, kExtraItemSize - 1);
    c->index[list] = N;
}

bool Picked(const DeviceSettingsChoice& choice, DeviceSettingsList list) {
    int i = choice.index[list];
    return i >= 0 && i < kDeviceSettingsLists[list].itemCount;
}

// Item 0 of a two-item list means "on".
bool FlagOf(const DeviceSettingsChoice& choice, DeviceSettingsList list, bool current) {
    return Picked(choice, list) ? choice.index[list] == 0 : current;
}

}  // namespace

const DeviceSettingsListItems kDeviceSettingsLists[kDeviceSettingsListCount] = {
    {IDC_LIST_COUNT, kCountItems, CountOf(kCountItems)},
    {IDC_LIST_PAUSE, kPauseItems, CountOf(kPauseItems)},
    {IDC_LIST_DELAY, kDelayItems, CountOf(kDelayItems)},
    {IDC_LIST_RATE, kRateItems, CountOf(kRateItems)},
    {IDC_LIST_MAXIMUM, kMaximumItems, CountOf(kMaximumItems)},
    {IDC_LIST_SOUND, kSoundItems, CountOf(kSoundItems)},
};

DeviceSettingsChoice ChoiceFromSettings(const DeviceSettings& current) {
    DeviceSettingsChoice c = {};
    int count = MeasurementCount(current);
    c.index[kListCount] = count >= 1 && count <= kDeviceSettingsLists[kListCount].itemCount ? count - 1 : kNoSelection;
    int pause = PauseMinutes(current);
    c.index[kListPause] = pause < kDeviceSettingsLists[kListPause].itemCount ? pause : kNoSelection;
    c.index[kListDelay] = PreTestDelay(current) ? 0 : 1;
    SelectValue(&c, kListRate, kRates, current.riseRate, "кВ/сек");
    SelectValue(&c, kListMaximum, kMaximums, current.maxVoltage, "кВ");
    c.index[kListSound] = Sound(current) ? 0 : 1;
    return c;
}

DeviceSettings SettingsFromChoice(const DeviceSettingsChoice& choice, const DeviceSettings& current) {
    DeviceSettings d = current;
    int count = Picked(choice, kListCount) ? choice.index[kListCount] + 1 : MeasurementCount(current);
    d.countAndLift = static_cast<uint8_t>(count);

    int pause = Picked(choice, kListPause) ? choice.index[kListPause] : PauseMinutes(current);
    uint8_t flags = static_cast<uint8_t>(pause);
    if (FlagOf(choice, kListSound, Sound(current))) flags |= settings_bits::kSound;
    if (FlagOf(choice, kListDelay, PreTestDelay(current))) flags |= settings_bits::kPreTestDelay;
    d.pauseAndFlags = flags;

    if (Picked(choice, kListRate)) d.riseRate = kRates[choice.index[kListRate]];
    if (Picked(choice, kListMaximum)) d.maxVoltage = kMaximums[choice.index[kListMaximum]];
    return d;
}
