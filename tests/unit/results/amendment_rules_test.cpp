// Which file takes an amendment, the viewer's read-only state, and the form
// following a version made in the viewer.
#include <gtest/gtest.h>

#include <cstring>

#include "results/amendment_rules.h"

namespace {

TestRecord Version(const char* material) {
    TestRecord r{};
    r.valueCount = 1;
    std::strcpy(r.protocolText[1], material);
    return r;
}

TEST(AmendmentRules, OnlyTheNewestVersionOfLogDatIsMended) {
    struct Case { const char* path; bool newest; const char* pane; bool editable, amend; };
    const Case cases[] = {
        {"", true, "Масло АГК", true, true},   {"", true, "Масло ГК", true, false},
        {"", false, "Масло АГК", false, false},  // an older version prints as stored
        {"C:\\data\\log-20261209-064527.dat", true, "Масло АГК", false, false},
        {"log.dat", true, "Масло АГК", false, false},  // log.dat opened as another file
    };
    const TestRecord shown = Version("Масло ГК");
    for (const Case& c : cases) {
        TestRecord amended{};
        EXPECT_EQ(ArchiveTextsEditable(c.path, c.newest), c.editable) << c.path << c.newest;
        EXPECT_EQ(ViewerAmendmentNeeded(c.path, c.newest, Version(c.pane), shown, 0, &amended), c.amend)
            << c.path << c.newest << c.pane;
        EXPECT_EQ(AmendmentArchive(c.path) != nullptr, c.path[0] == 0) << c.path;
    }
}

TEST(AmendmentRules, TheFormFollowsTheNewestVersionWhereTheUserTypedNothing) {
    struct Case { const char* form; const char* base; const char* newest; const char* want; uint16_t shown; };
    const Case cases[] = {
        {"Масло ГК", "Масло ГК", "Масло АГК", "Масло АГК", 1u << 1},  // amended in the viewer
        {"Масло ТКп", "Масло ГК", "Масло АГК", "Масло ТКп", 0},       // typed in the form: the user's
        {"Масло ГК", "Масло ГК", "Масло ГК", "Масло ГК", 0},
    };
    for (const Case& c : cases) {
        TestRecord form = Version(c.form), out;
        form.protocolText[1][200] = 'x';  // filler after the terminator never counts
        EXPECT_EQ(FollowNewestTexts(form, Version(c.base), Version(c.newest), &out), c.shown) << c.form << c.newest;
        EXPECT_STREQ(out.protocolText[1], c.want) << c.form << c.newest;
    }
}

}  // namespace
