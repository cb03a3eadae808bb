// Placing a dialog over its owner, kept on the screen.
#include "common/placement.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {
constexpr int kScreenW = 1024, kScreenH = 768;
}  // namespace

TEST(CentreOnOwner, CentresWithTruncatingHalves) {
    Placement p = CentreOnOwner({100, 50, 501, 525}, 300, 201, kScreenW, kScreenH);
    EXPECT_EQ(p.x, (100 + 601) / 2 - 150);
    EXPECT_EQ(p.y, (50 + 575) / 2 - 100);
    EXPECT_EQ(p.width, 300);
    EXPECT_EQ(p.height, 201);
}

TEST(CentreOnOwner, WiderDialogOverAWindowInTheCornerStaysOnTheScreen) {
    Placement p = CentreOnOwner({0, 0, 500, 525}, 800, 600, kScreenW, kScreenH);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    p = CentreOnOwner({kScreenW - 500, kScreenH - 525, 500, 525}, 800, 600, kScreenW, kScreenH);
    EXPECT_EQ(p.x, kScreenW - 800);
    EXPECT_EQ(p.y, kScreenH - 600);
    // Larger than the screen: the caption and the left edge stay reachable.
    p = CentreOnOwner({0, 0, 500, 525}, kScreenW + 100, kScreenH + 100, kScreenW, kScreenH);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

// An INI file can hold any 32-bit owner rectangle; the sums must not wrap.
TEST(CentreOnOwner, ExtremeOwnerRectanglesLandOnTheScreen) {
    constexpr int kMax = INT32_MAX, kMin = INT32_MIN;
    Placement p = CentreOnOwner({kMax, kMax, kMax, kMax}, 300, 200, kScreenW, kScreenH);
    EXPECT_EQ(p.x, kScreenW - 300);
    EXPECT_EQ(p.y, kScreenH - 200);
    p = CentreOnOwner({kMin, kMin, kMax, kMax}, 300, 200, kScreenW, kScreenH);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}
