#pragma once
// The "Динамика" picture: how the breakdown voltage of one sample source's
// liquid changed over the years, as a frame of plain data that the window
// replays with OpenGL or GDI.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/draw_list.h"
#include "common/test_record.h"

// Colours of the picture (COLORREF layout, see common/color.h). Tests tell
// the kinds of marks apart by them.
constexpr uint32_t kTrendBackground = 0xFFFFFF;
constexpr uint32_t kTrendAxisColor = 0x000000;
constexpr uint32_t kTrendGridColor = 0xD8D8D8;
constexpr uint32_t kTrendLabelColor = 0x000000;
constexpr uint32_t kTrendValueColor = 0xB06020;        // single breakdown values
constexpr uint32_t kTrendNoBreakdownColor = 0x2020E0;  // values that did not break down, at their bound
constexpr uint32_t kTrendMeanColor = 0x802000;         // the means and the line joining them
constexpr uint32_t kTrendNormColor = 0x0060B0;         // the shared norm's limits and their labels
constexpr uint32_t kTrendBelowNormColor = 0x0000D0;    // means below the shared norm's minimum

// Indices of the records whose sample source (protocol text 3) equals
// source, both trimmed of blanks and compared regardless of letter case;
// each series once, by its newest version; ordered by test time, ties in
// archive order. source is read up to its
// terminator or 256 bytes; a blank source selects nothing, since series
// without a named source have nothing in common.
std::vector<uint32_t> TrendRecords(const TestRecord* records, size_t count, const char* source);

// Test time as days since 1.1.1970 with the time of day as fraction. A
// damaged month, day, hour or minute is clamped into its range.
double TrendDay(const SystemTime& t);

// The frame: axes with date ticks along x and kilovolt ticks along y, each
// series' single values as small quads (those without a breakdown at their
// bound, in their own colour), each series' mean as a short dash, and the
// means joined by one line in date order. Series without values are left out.
// When the judged series among them were all judged against one norm minimum,
// it is a solid band across the plot labelled "норма 40 кВ", the good limit
// they share (if any) a dashed one labelled "хорошо 60 кВ", and each mean
// that broke down below the minimum is drawn red.
// x is in days counted from the first series' day, y in kilovolts; the
// projection covers every mark with room for the labels. Above the plot, the
// last text is the title: the source trimmed, then the first and last series'
// dates ("T1, 10.2.2019 - 10.11.2024"; one date for one day). No matching
// series gives the empty axes and the source alone.
DrawList BuildArchiveTrend(const TestRecord* records, size_t count, const char* source);

// A norm label's place: the raster position, and whether the text stands on
// it (DrawTextAbove) or hangs from it.
struct TrendLabelPlace {
    float x, y;
    bool above;
};
// Where a label of w x h plot units beside the horizontal line at lineY goes
// so that no point of the picture lies in it (each point taken as margin
// wide and tall): under the line or above it, gap away, from the preferred
// end of x0..x1 towards the other. When every place holds a point, the one
// with the fewest.
TrendLabelPlace PlaceTrendLabel(const std::vector<DrawPoint>& points, DrawPoint margin, float lineY, float w, float h,
                                float gap, float x0, float x1, bool fromRight);
