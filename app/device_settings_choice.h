#pragma once
// What the device settings dialog shows and what its OK asks of the
// instrument: list items, the selection for the reported settings, and the
// settings built back from the selection. Kept free of Windows.
#include "common/device_settings.h"

// The dialog's six lists, in the order of their ids 510..515.
enum DeviceSettingsList { kListCount, kListPause, kListDelay, kListRate, kListMaximum, kListSound, kDeviceSettingsListCount };

struct DeviceSettingsListItems {
    int listId;
    const char* const* items;
    int itemCount;
};

// The lists' ids and item texts, indexed by DeviceSettingsList.
extern const DeviceSettingsListItems kDeviceSettingsLists[kDeviceSettingsListCount];

// Selected item of each list; kNoSelection when the list shows none. extra
// is the text of one more item after the list's own, empty when there is none.
constexpr int kNoSelection = -1;
constexpr int kExtraItemSize = 24;
struct DeviceSettingsChoice {
    int index[kDeviceSettingsListCount];
    char extra[kDeviceSettingsListCount][kExtraItemSize];
};

// The items that show the reported settings. A rise rate or maximum voltage
// no item stands for (2.5 kV/s, 65 kV) is shown as an extra item, selected,
// at index itemCount; a count of 0 or a pause of 10 leaves its list without
// a selection.
DeviceSettingsChoice ChoiceFromSettings(const DeviceSettings& current);

// The settings to ask for: byte 0 is the count alone (tableLift cleared), byte
// 1 is rebuilt from pause, delay and sound (altMethod and errorOfMean
// cleared), then rise rate and maximum voltage. A list without a selection,
// or with an index beyond its items, keeps that field's reported value, so
// OK never changes a setting the operator did not pick. The other words are
// carried over from current.
DeviceSettings SettingsFromChoice(const DeviceSettingsChoice& choice, const DeviceSettings& current);
