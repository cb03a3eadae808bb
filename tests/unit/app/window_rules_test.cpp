// The main window's rules: focus order, placement and the minimum size.
#include "app/window_rules.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(NextFormField, CyclesThroughTheThirteenFieldsAndWraps) {
    for (int id = 140; id < 152; ++id) EXPECT_EQ(NextFormField(id), id + 1) << id;
    EXPECT_EQ(NextFormField(152), 140);
}

TEST(PreviousFormField, WalksBackAndWrapsFromTheFirstToTheLast) {
    struct Case {
        int focused, expected;
    } cases[] = {{152, 151}, {141, 140}, {140, 152}, {139, 0}, {153, 0}, {170, 0}, {0, 0}};
    for (const Case& c : cases) EXPECT_EQ(PreviousFormField(c.focused), c.expected) << c.focused;
}

TEST(NextFormField, IgnoresControlsOutsideTheForm) {
    for (int id : {0, 111, 139, 153, 170, 171, 172, 173}) EXPECT_EQ(NextFormField(id), 0) << id;
}

namespace {
constexpr int kScreenW = 1024, kScreenH = 768;
constexpr int kTemplateW = 506, kTemplateH = 540;  // the window as the template makes it

Placement Place(Placement saved) { return PlaceWindow(saved, kTemplateW, kTemplateH, kScreenW, kScreenH); }

void ExpectPlacement(Placement got, Placement want) {
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
}
}  // namespace

TEST(PlaceWindow, KeepsASavedRectangleThatFits) { ExpectPlacement(Place({100, 50, 700, 600}), {100, 50, 700, 600}); }

TEST(PlaceWindow, WindowClosedWhileMinimisedStartsAtTheOriginWithTheMinimumSize) {
    // Windows stores -32000,-32000 and a tiny size for a minimised window.
    ExpectPlacement(Place({-32000, -32000, 160, 28}), {0, 0, 500, 525});
}

TEST(PlaceWindow, OffscreenPositionFallsBackToTheEdge) {
    // Judged by the template size, not the saved one.
    ExpectPlacement(Place({kScreenW - kTemplateW + 1, kScreenH - kTemplateH, 500, 525}),
                    {0, kScreenH - kTemplateH, 500, 525});
    ExpectPlacement(Place({10, kScreenH - kTemplateH + 1, 500, 525}), {10, 0, 500, 525});
}

TEST(PlaceWindow, OversizedWindowShrinksToTheMinimumNotToTheScreen) {
    ExpectPlacement(Place({0, 0, kScreenW + 1, kScreenH + 1}), {0, 0, 500, 525});
    ExpectPlacement(Place({0, 0, kScreenW, kScreenH}), {0, 0, kScreenW, kScreenH});
}

TEST(MinWindowWidth, TheScaledMinimumUnlessThePictureNeedsMore) {
    struct Case {
        int formRight, frame, minimum, margin, width;
    } cases[] = {{484, 8, 500, 8, 500},    // 96 DPI: the picture just fits the minimum
                 {630, 8, 625, 10, 648},   // 120 DPI: the dialog font grew faster than the DPI
                 {727, 8, 750, 12, 750},   // 144 DPI
                 {INT32_MAX, 8, 500, 8, INT32_MAX}};
    for (const Case& c : cases) EXPECT_EQ(MinWindowWidth(c.formRight, c.frame, c.minimum, c.margin), c.width) << c.formRight;
}

TEST(ServiceViewLeft, FiveHundredUnlessTheFormReachesFurther) {
    EXPECT_EQ(ServiceViewLeft(0), 500);
    EXPECT_EQ(ServiceViewLeft(492), 500);  // the form with the dialog font of Windows
    EXPECT_EQ(ServiceViewLeft(496), 500);
    EXPECT_EQ(ServiceViewLeft(574), 578);  // a wider font: the view starts right of the form
}

TEST(KeyGoesToAccelerators, SpaceTypesInTextFieldsOnly) {
    struct Case {
        unsigned key;
        const char* className;
        bool toAccelerators;
    };
    for (const Case& c : {Case{0x20, "Edit", false}, Case{0x20, "EDIT", false}, Case{0x20, "RichEdit20A", false},
                          Case{0x20, "Button", true}, Case{0x20, "#32770", true}, Case{0x20, "Editor", true},
                          Case{0x09, "Edit", true}, Case{0x70, "Edit", true}, Case{0x20, nullptr, true}})
        EXPECT_EQ(KeyGoesToAccelerators(c.key, c.className), c.toAccelerators)
            << c.key << " " << (c.className ? c.className : "(none)");
}

TEST(FillProtocolSlots, LeavesEveryTextEmptyAndTouchesNothingElse) {
    TestRecord record;
    std::memset(&record, 0x5A, sizeof record);
    TestRecord before = record;
    FillProtocolSlots(record, 12345);

    EXPECT_EQ(std::memcmp(&record, &before, offsetof(TestRecord, protocolText)), 0);
    const size_t tail = offsetof(TestRecord, settingsSnapshot);
    EXPECT_EQ(std::memcmp(reinterpret_cast<char*>(&record) + tail, reinterpret_cast<char*>(&before) + tail,
                          sizeof record - tail),
              0);
    int changed = 0;
    for (const auto& slot : record.protocolText) {
        EXPECT_EQ(slot[0], 0);
        for (int i = 1; i < kProtocolTextSize; ++i) changed += slot[i] != 0x5A;
    }
    EXPECT_GT(changed, 13 * 255 / 2);  // filled, not left as it was
}

TEST(FillProtocolSlots, SameSeedSameBytesOtherSeedOtherBytes) {
    static TestRecord a, b, c;
    FillProtocolSlots(a, 7);
    FillProtocolSlots(b, 7);
    FillProtocolSlots(c, 8);
    EXPECT_EQ(std::memcmp(a.protocolText, b.protocolText, sizeof a.protocolText), 0);
    EXPECT_NE(std::memcmp(a.protocolText, c.protocolText, sizeof a.protocolText), 0);
}

// An INI file can hold any 32-bit position; the sums must not wrap (the
// fuzzer's corpus keeps these inputs).
TEST(PlaceWindow, ExtremeSavedValuesLandOnTheScreen) {
    constexpr int kMax = INT32_MAX, kMin = INT32_MIN;
    ExpectPlacement(Place({kMax - 10, kMax, kMax, kMax}), {0, 0, 500, 525});
    ExpectPlacement(Place({kMin, kMin, kMin, kMin}), {0, 0, 500, 525});
    EXPECT_EQ(ServiceViewLeft(kMax), kMax);
    EXPECT_EQ(ServiceViewLeft(kMax - 4), kMax);
    EXPECT_EQ(ServiceViewLeft(kMin), 500);
}
