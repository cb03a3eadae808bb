// Placement of the device-results viewer's list and progress bar.
#include <gtest/gtest.h>

#include "results/device_results_layout.h"

TEST(DeviceResultsLayout, ListFillsTheClientAndTheBarLiesAcrossTheMiddle) {
    struct Case {
        int left, top, right, bottom;
        ViewerBox list, bar;
    };
    const Case cases[] = {
        {0, 0, 675, 215, {0, 0, 675, 215}, {0, 107, 673, 23}},
        {0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 23}},  // minimised: no negative sizes
    };
    for (const Case& c : cases) {
        ViewerBox list = DeviceResultsListBox(c.left, c.top, c.right, c.bottom, 0, 0);
        ViewerBox bar = DeviceResultsProgressBox(c.left, c.top, c.right, c.bottom, 23);
        EXPECT_EQ(list.width, c.list.width);
        EXPECT_EQ(list.height, c.list.height);
        EXPECT_EQ(bar.y, c.bar.y);
        EXPECT_EQ(bar.width, c.bar.width);
        EXPECT_EQ(bar.height, c.bar.height);
    }
}
