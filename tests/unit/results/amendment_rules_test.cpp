// Which file takes an amendment, the viewer's read-only state, and the form
// following a version made in the viewer.
#include <gtest/gtest.h>

#include <cstring>

#include "results/amendment_rules.h"

namespace {

TestRecord Version(const char* material, uint16_t amendment) {
    TestRecord r;
    std::memset(&r, 0x5A, sizeof r);
    r.valueCount = 1;
    r.breakdownVoltage[0] = 500;
    r.testTime = SystemTime{2026, 12, 2, 8, 10, 5, 0, 0};
    r.marks = RecordMarks{};
    r.marks.amendment = amendment;
    for (int k = 0; k < kProtocolTextCount; ++k) std::strcpy(r.protocolText[k], "П-18");
    std::strcpy(r.protocolText[1], material);
    return r;
}

TEST(AmendmentRules, OnlyTheNewestVersionOfLogDatIsMended) {
    struct Case {
        const char* path;
        bool newest;
        const char* paneMaterial;
        bool archive, editable, amend;
    };
    const Case cases[] = {
        {"", true, "Масло АГК", true, true, true},
        {"", true, "Масло ГК", true, true, false},  // nothing mended
        {"", false, "Масло АГК", true, false, false},  // an older version prints as stored
        {"C:\\data\\log-20261209-064527.dat", true, "Масло АГК", false, false, false},
        {"C:\\data\\log-20261209-064527.dat", false, "Масло АГК", false, false, false},
        {"log.dat", true, "Масло АГК", false, false, false},  // opened as another file: viewed only
    };
    const TestRecord shown = Version("Масло ГК", 0);
    for (const Case& c : cases) {
        TestRecord amended = shown;
        amended.marks.amendment = 7;
        EXPECT_EQ(AmendmentArchive(c.path) != nullptr, c.archive) << c.path;
        EXPECT_EQ(ArchiveTextsEditable(c.path, c.newest), c.editable) << c.path << " " << c.newest;
        const bool amend = ViewerAmendmentNeeded(c.path, c.newest, Version(c.paneMaterial, 0), shown, 0, &amended);
        EXPECT_EQ(amend, c.amend) << c.path << " " << c.newest << " " << c.paneMaterial;
        EXPECT_EQ(amended.marks.amendment, c.amend ? 1 : 7);
    }
    EXPECT_STREQ(AmendmentArchive(""), "log.dat");
    EXPECT_STREQ(AmendmentArchive(nullptr), "log.dat");
}

TEST(AmendmentRules, TheFormFollowsTheNewestVersionWhereTheUserTypedNothing) {
    struct Case {
        const char* form;
        const char* base;
        const char* newest;
        const char* want;
        bool shownChanges;
    };
    const Case cases[] = {
        {"Масло ГК", "Масло ГК", "Масло АГК", "Масло АГК", true},   // amended in the viewer
        {"Масло ТКп", "Масло ГК", "Масло АГК", "Масло ТКп", false},  // typed in the form: the user's
        {"Масло ГК", "Масло ГК", "Масло ГК", "Масло ГК", false},     // nothing new anywhere
        {"Масло АГК", "Масло ГК", "Масло АГК", "Масло АГК", false},  // typed as the viewer did
    };
    for (const Case& c : cases) {
        TestRecord form = Version(c.form, 0), out;
        form.protocolText[1][200] = 'x';  // filler after the terminator never counts
        const uint16_t changed = FollowNewestTexts(form, Version(c.base, 0), Version(c.newest, 2), &out);
        EXPECT_STREQ(out.protocolText[1], c.want) << c.form << " / " << c.base << " / " << c.newest;
        EXPECT_EQ(changed, c.shownChanges ? 1u << 1 : 0u) << c.form << " / " << c.base << " / " << c.newest;
        EXPECT_EQ(out.marks.amendment, 0) << "the form's record keeps its own marks";
    }
}

}  // namespace
