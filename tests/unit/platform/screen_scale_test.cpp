// Pixel sizes of a 96 DPI screen scaled to 120 and 144 DPI, rounded as MulDiv rounds.
#include <gtest/gtest.h>

#include "platform/screen_scale.h"

TEST(ScaleToDpi, RoundsHalfAwayFromZeroAndLeavesAnUnknownDpiAlone) {
    struct Case {
        int pixels, dpi, scaled;
    } cases[] = {{210, 96, 210}, {210, 120, 263}, {210, 144, 315}, {1, 144, 2},
                 {-3, 144, -5},  {500, 0, 500},   {800, 192, 1600}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::ScaleToDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
}
