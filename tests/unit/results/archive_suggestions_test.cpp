// The archive's distinct texts per form field: order, case, blanks, cap, loading.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "results/archive.h"
#include "results/archive_suggestions.h"

namespace {

constexpr int kMaterial = 1;

TestRecord WithMaterial(const char* material) {
    TestRecord r{};
    std::snprintf(r.protocolText[kMaterial], kProtocolTextSize, "%s", material);
    std::snprintf(r.protocolText[0], kProtocolTextSize, "%s", material);  // the number offers nothing
    return r;
}

}  // namespace

TEST(ArchiveSuggestions, NewestFirstEachTextOnceWhateverItsCase) {
    const struct { std::vector<const char*> taken; std::vector<std::string> offered; } cases[] = {
        {{"Масло ГК", "Масло Т-1500"}, {"Масло Т-1500", "Масло ГК"}},
        {{"Масло ГК", "Масло Т-1500", "  МАСЛО гк "}, {"МАСЛО гк", "Масло Т-1500"}},
        {{"Ёмкость", "ёмкость"}, {"ёмкость"}},
        {{"Масло ГК", "", "   "}, {"Масло ГК"}},
    };
    for (const auto& c : cases) {
        TextSuggestions s;
        for (const char* m : c.taken) s.Take(WithMaterial(m));
        EXPECT_EQ(s.Texts(kMaterial), c.offered) << c.taken.front();
        EXPECT_TRUE(s.Texts(0).empty());
    }
    TextSuggestions many;
    for (size_t i = 0; i <= kSuggestionsPerText; ++i) many.Take(WithMaterial(std::to_string(i).c_str()));
    EXPECT_EQ(many.Texts(kMaterial).size(), kSuggestionsPerText);
    EXPECT_EQ(many.Texts(kMaterial).back(), "1") << "the oldest went";
}

TEST(ArchiveSuggestions, LoadsTheArchiveSkippingDamagedRecords) {
    fake::Reset();
    TextSuggestions s;
    EXPECT_FALSE(LoadArchivedTexts(&s)) << "no log.dat";
    for (const char* m : {"Масло ГК", "Масло Т-1500", "Масло АГК"}) {
        TestRecord r = WithMaterial(m);
        ASSERT_TRUE(ArchiveAppend(r));
    }
    // The last record damaged alike in all three copies: no vote mends it.
    std::vector<uint8_t>& file = fake::FileBytes(kArchiveFileName);
    for (size_t copy = 0; copy < 3; ++copy) file[2 * kArchiveGroupSize + copy * sizeof(TestRecord) + 100] ^= 0xFF;
    ASSERT_TRUE(LoadArchivedTexts(&s));
    EXPECT_EQ(s.Texts(kMaterial), (std::vector<std::string>{"Масло Т-1500", "Масло ГК"}));
}
