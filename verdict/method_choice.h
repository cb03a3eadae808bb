#pragma once
// The test method the laboratory runs: the device settings dialog's
// "Методика" list, the lists it sets, and what follows a change of method.
#include <string>
#include <vector>

#include "verdict/norm_book.h"
#include "common/device_settings.h"

// The item for lists that match no method; the method is then none.
constexpr const char* kNoMethodItem = "своя";

// Every method's name, then kNoMethodItem.
std::vector<std::string> MethodListItems(const NormBook& book);
// The item the settings stand for: the preferred method when its four
// parameters are the settings', else the first method whose they are, else
// kNoMethodItem (the last item). Two methods may share parameters (the
// ASTM gaps): the preferred one keeps its place.
int MethodItemForSettings(const NormBook& book, const DeviceSettings& settings, const std::string& preferred);
// The method's name for an item; empty for kNoMethodItem or out of range.
std::string MethodOfItem(const NormBook& book, int item);
// The settings with the method's count, pause, delay and rise rate; the
// maximum voltage, the sound and the other words stay.
DeviceSettings SettingsWithMethod(DeviceSettings settings, const TestMethod& method);
// The form's "Наименование стандарта" after the method changed from
// previous to next: an empty text or the previous method's name becomes the
// new name, anything the user typed stays. False when it stays.
bool StandardNameFollows(const std::string& current, const std::string& previous, const std::string& next,
                         std::string* result);
// "Методика: ГОСТ 6581-75", "Методика: своя"; with differs, the mark that
// the instrument is set otherwise.
std::string MethodLineText(const std::string& method, bool differs = false);
