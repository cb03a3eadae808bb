// The test method choice: list items, matching settings, following changes.
#include "verdict/method_choice.h"

std::vector<std::string> MethodListItems(const NormBook& book) {
    std::vector<std::string> items;
    for (const TestMethod& m : AllMethods(book)) items.push_back(m.name);
    items.push_back(kNoMethodItem);
    return items;
}

int MethodItemForSettings(const NormBook& book, const DeviceSettings& settings, const std::string& preferred) {
    const std::vector<TestMethod> all = AllMethods(book);
    int first = -1;
    for (size_t i = 0; i < all.size(); ++i) {
        if (!SettingsMatchMethod(settings, all[i])) continue;
        if (all[i].name == preferred) return static_cast<int>(i);
        if (first < 0) first = static_cast<int>(i);
    }
    return first >= 0 ? first : static_cast<int>(all.size());
}

std::string MethodOfItem(const NormBook& book, int item) {
    const std::vector<TestMethod> all = AllMethods(book);
    return item >= 0 && item < static_cast<int>(all.size()) ? all[item].name : std::string();
}

DeviceSettings SettingsWithMethod(DeviceSettings s, const TestMethod& m) {
    s.countAndLift = static_cast<uint8_t>((s.countAndLift & 0xF0) | (m.breakdowns & 0x0F));
    uint8_t flags = static_cast<uint8_t>((s.pauseAndFlags & 0xF0 & ~settings_bits::kPreTestDelay) | (m.pauseMinutes & 0x0F));
    if (m.preTestDelay) flags |= settings_bits::kPreTestDelay;
    s.pauseAndFlags = flags;
    s.riseRate = m.riseRate;
    return s;
}

bool StandardNameFollows(const std::string& current, const std::string& previous, const std::string& next,
                         std::string* result) {
    if (next.empty() || current == next || !(current.empty() || current == previous)) return false;
    *result = next;
    return true;
}

std::string MethodLineText(const std::string& method, bool differs) {
    return std::string("Методика: ") + (method.empty() ? kNoMethodItem : method.c_str()) +
           (differs && !method.empty() ? " (параметры другие)" : "");
}
