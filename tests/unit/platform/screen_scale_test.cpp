// Pixel sizes of a 96 DPI screen scaled to 120 and 144 DPI, rounded as MulDiv rounds; widths that show texts whole.
#include <gtest/gtest.h>

#include <vector>

#include "platform/screen_scale.h"
#include "platform/text_fit.h"

TEST(ScaleToDpi, RoundsHalfAwayFromZeroAndLeavesAnUnknownDpiAlone) {
    struct Case {
        int pixels, dpi, scaled;
    } cases[] = {{210, 96, 210}, {210, 120, 263}, {210, 144, 315}, {1, 144, 2},
                 {-3, 144, -5},  {500, 0, 500},   {800, 192, 1600}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::ScaleToDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
}

TEST(WidthForWholeTexts, TheWidestTextDecidesWithinTheLimits) {
    const struct { std::vector<int> widths; int most, width; } cases[] = {
        {{120, 380, 375}, 0, 404},  // norm names wider than the closed list
        {{40, 90}, 0, 213},         // short names: the list's own width
        {{2000}, 1280, 1280},       // never wider than the screen
        {{2000}, 100, 213},         // nor narrower than the list itself
    };
    for (const auto& c : cases) EXPECT_EQ(platform::WidthForWholeTexts(c.widths, 213, 24, c.most), c.width);
}
