// The archive viewer's top row at its least width, wider, and too narrow.
#include <gtest/gtest.h>

#include "results/archive_top_row.h"

TEST(ArchiveTopRow, ButtonsLeftFindAndDatesRightNeverOverlapping) {
    // Widths as the viewer measures them at 96 DPI: four buttons, "Найти",
    // the find field, "с", a date, "по", a date; gaps of 3 pixels.
    const ArchiveTopRowWidths row{{63, 66, 207, 105, 33, 72, 12, 93, 18, 93}, 3, 3};
    EXPECT_EQ(ArchiveTopRowLeastWidth(row), 762 + 9 * 3);
    struct Case {
        int left, right;
        int findLabelX, toX;  // x of "Найти" and of the last date
    } cases[] = {
        {6, 6 + 789, 6 + 450 + 3, 6 + 789 - 93},     // the least width: the row just fits
        {6, 1194, 1194 - 336, 1194 - 93},             // wider: the find controls keep to the right edge
        {6, 500, 6 + 450 + 3, 6 + 450 + 3 + 336 - 93},  // too narrow: they keep behind the buttons
    };
    for (const Case& c : cases) {
        TopRowSpan spans[kTopRowItems];
        LayOutArchiveTopRow(row, c.left, c.right, spans);
        EXPECT_EQ(spans[kTopRowPrint].x, c.left) << c.right;
        EXPECT_EQ(spans[kTopRowFindLabel].x, c.findLabelX) << c.right;
        EXPECT_EQ(spans[kTopRowTo].x, c.toX) << c.right;
        for (int item = 0; item < kTopRowItems; ++item) {
            EXPECT_EQ(spans[item].width, row.widths[item]) << item;
            // Each next to the one before it, but "Найти" only as far as the right edge allows.
            const int after = item > 0 ? spans[item - 1].x + spans[item - 1].width + 3 : c.left;
            if (item == kTopRowFindLabel) EXPECT_GE(spans[item].x, after) << c.right;
            else EXPECT_EQ(spans[item].x, after) << c.right << ", " << item;
        }
    }
}
