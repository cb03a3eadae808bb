// Frames of the two service graphs, looked at as draw lists.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "common/color.h"
#include "service/service_graphs.h"

namespace {

struct Head {
    std::vector<uint16_t> values;
    uint8_t seriesLength = 6;
    uint16_t day = 1, month = 1, year = 2020;
    uint16_t bound = 0;
    uint8_t valueCount = 0xFF;  // 0xFF: the number of values
};

void Put(ServiceHistory& h, int slot, const Head& head) {
    TestRecord r{};
    for (size_t i = 0; i < head.values.size(); ++i) r.breakdownVoltage[i] = head.values[i];
    r.valueCount = head.valueCount == 0xFF ? static_cast<uint8_t>(head.values.size()) : head.valueCount;
    r.seriesLength = head.seriesLength;
    r.boundVoltage = head.bound;
    r.testTime.wDay = head.day;
    r.testTime.wMonth = head.month;
    r.testTime.wYear = head.year;
    std::memcpy(&h.seriesRing[slot], &r, sizeof(RecordHead));
}

std::unique_ptr<ServiceHistory> Empty() { return std::unique_ptr<ServiceHistory>(new ServiceHistory{}); }

struct Bar {
    float x, top;
    DrawColor bottomColor, topColor;
};

const DrawOp& OnlyOp(const DrawList& list, DrawOp::Kind kind) {
    const DrawOp* found = nullptr;
    for (const DrawOp& op : list.ops)
        if (op.kind == kind) {
            EXPECT_EQ(found, nullptr) << "more than one op of the kind";
            found = &op;
        }
    EXPECT_NE(found, nullptr);
    return *found;
}

// The bars of the series graph: the lines after the axis and the five grid
// lines, two points (bottom, top) each.
std::vector<Bar> Bars(const DrawList& list) {
    const DrawOp& lines = OnlyOp(list, DrawOp::Kind::Lines);
    std::vector<Bar> bars;
    for (uint32_t p = lines.first + 12; p + 1 < lines.first + lines.count; p += 2) {
        const DrawPoint& bottom = list.points[p];
        const DrawPoint& top = list.points[p + 1];
        EXPECT_EQ(bottom.x, top.x);
        EXPECT_EQ(bottom.y, 0.0f);
        bars.push_back({bottom.x, top.y, bottom.color, top.color});
    }
    return bars;
}

struct Text {
    DrawOp::Kind kind;
    float x, y;
    std::string text;
    DrawColor color;
};

std::vector<Text> Texts(const DrawList& list) {
    std::vector<Text> texts;
    float x = 0, y = 0;
    DrawColor color{};
    for (const DrawOp& op : list.ops) {
        if (op.kind == DrawOp::Kind::Color) color = {op.values[0], op.values[1], op.values[2], op.values[3]};
        if (op.kind == DrawOp::Kind::RasterPos) x = op.values[0], y = op.values[1];
        if (op.kind == DrawOp::Kind::TextAbove || op.kind == DrawOp::Kind::TextBelow)
            texts.push_back({op.kind, x, y, list.texts[op.first], color});
    }
    return texts;
}

void ExpectColor(DrawColor c, float r, float g, float b) {
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
}

std::string Kv(const char* number) { return std::string(number) + " \xEA\xC2"; }  // " кВ" in Windows-1251

}  // namespace

TEST(ServiceGraphs, EmptyHistoryDrawsAxisGridAndLabelsOnly) {
    auto h = Empty();
    DrawList series = BuildSeriesGraph(*h, 8, 12);
    const DrawOp& ortho = OnlyOp(series, DrawOp::Kind::Ortho);
    EXPECT_EQ(std::vector<float>(ortho.values, ortho.values + 6), (std::vector<float>{-5, 355, -10, 105, -1, 1}));
    const DrawOp& lines = OnlyOp(series, DrawOp::Kind::Lines);
    ASSERT_EQ(lines.count, 12u);
    const DrawPoint* p = &series.points[lines.first];
    EXPECT_EQ(p[1].x, 350.0f);
    ExpectColor(p[0].color, 0xA4 / 256.0f, 0xA4 / 256.0f, 0xA4 / 256.0f);
    ExpectColor(p[2].color, 0.25f, 0.25f, 0.25f);
    EXPECT_EQ(p[11].y, 100.0f);
    std::vector<Text> labels = Texts(series);
    const char* numbers[] = {"0", "20", "40", "60", "80"};
    const float ys[] = {0, 18, 38, 58, 78};
    ASSERT_EQ(labels.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(labels[i].kind, DrawOp::Kind::TextAbove);
        EXPECT_EQ(labels[i].text, Kv(numbers[i]));
        EXPECT_EQ(labels[i].x, -3.0f);
        EXPECT_EQ(labels[i].y, ys[i]);
        ExpectColor(labels[i].color, 0.99609375f, 0.99609375f, 0.99609375f);
    }

    DrawList histogram = BuildVoltageHistogram(*h);
    const DrawOp& hOrtho = OnlyOp(histogram, DrawOp::Kind::Ortho);
    EXPECT_FLOAT_EQ(hOrtho.values[2], -0.2f);
    EXPECT_FLOAT_EQ(hOrtho.values[3], 1.05f);
    int polygons = 0;
    for (const DrawOp& op : histogram.ops)
        if (op.kind == DrawOp::Kind::Polygon) {
            ++polygons;
            for (uint32_t i = 0; i < op.count; ++i) EXPECT_EQ(histogram.points[op.first + i].y, 0.0f);
        }
    EXPECT_EQ(polygons, kHistogramShownClasses);
    std::vector<Text> below = Texts(histogram);
    ASSERT_EQ(below.size(), 10u);
    EXPECT_EQ(below[9].kind, DrawOp::Kind::TextBelow);
    EXPECT_EQ(below[9].text, Kv("90"));
    EXPECT_EQ(below[9].x, 90.0f);
    EXPECT_EQ(below[9].y, 0.0f);
}

TEST(ServiceGraphs, LastFiftySeriesOldestLeftNewestSlotRight) {
    auto h = Empty();
    for (int slot = 0; slot < kServiceRingSize; ++slot) Put(*h, slot, {{static_cast<uint16_t>(100 + slot)}, 1});
    h->seriesCount = 60;  // series 59 in slot 9; slot 10 takes the next one
    std::vector<Bar> bars = Bars(BuildSeriesGraph(*h, 1, 2));
    ASSERT_EQ(bars.size(), 50u);
    for (int d = 0; d < kServiceRingSize; ++d) {
        EXPECT_EQ(bars[d].x, 7.0f * d);
        EXPECT_FLOAT_EQ(bars[d].top, (100 + (d + 11) % 50) / 10.0f) << "position " << d;
    }
}

TEST(ServiceGraphs, BarCountCoversTheMeasurementUnderWayAndStaysInItsGroup) {
    struct Case {
        uint8_t valueCount, seriesLength;
        int bars;
    } cases[] = {
        {0, 0, 0}, {0, 6, 1}, {3, 6, 4}, {6, 6, 6}, {2, 2, 2},
        {5, 0x36, 6},  // only the low 4 bits plan the series
        {6, 9, 7},     // the seventh bar falls on meanVoltage
        {9, 6, 7}, {255, 15, 7},  // damaged log: capped at the group
    };
    for (const Case& c : cases) {
        auto h = Empty();
        Put(*h, 0, {{200, 210, 220, 230, 240, 250}, c.seriesLength, 1, 1, 2020, 0, c.valueCount});
        h->seriesCount = 49;  // slot 0 at position 0
        std::vector<Bar> bars = Bars(BuildSeriesGraph(*h, 1, 2));
        ASSERT_EQ(static_cast<int>(bars.size()), c.bars) << int(c.valueCount) << "/" << int(c.seriesLength);
        for (const Bar& b : bars) EXPECT_LT(b.x, 350.0f);
    }
}

TEST(ServiceGraphs, FirstBarYellowForTodayOrangeOtherwiseLaterBarsGreyGreen) {
    auto h = Empty();
    Put(*h, 0, {{300, 310}, 2, 8, 12, 1999});  // same day and month, another year
    Put(*h, 1, {{300}, 1, 8, 11, 2026});
    Put(*h, 2, {{300}, 1, 9, 12, 2026});
    // seriesCount 0: slots 0, 1, 2 at positions 49, 0, 1
    std::vector<Bar> bars = Bars(BuildSeriesGraph(*h, 8, 12));
    ASSERT_EQ(bars.size(), 4u);
    ExpectColor(bars[0].bottomColor, 1.0f, 0.7f, -0.1f);  // position 0
    ExpectColor(bars[1].bottomColor, 1.0f, 0.7f, -0.1f);
    ExpectColor(bars[2].bottomColor, 1.3f, 1.0f, 0.1f);  // position 49, today
    ExpectColor(bars[3].bottomColor, 0.4f - 0.098f, 0.6f - 0.098f, 0.4f - 0.098f);
    ExpectColor(bars[3].topColor, 0.4f - 0.098f, 0.6f - 0.098f, 0.4f - 0.098f);
}

TEST(ServiceGraphs, NoBreakdownBarShadesToRedAtTheBound) {
    auto h = Empty();
    Put(*h, 0, {{0x8000 | 600, 450}, 2, 1, 1, 2020, 725});
    h->seriesCount = 49;  // slot 0 at position 0
    std::vector<Bar> bars = Bars(BuildSeriesGraph(*h, 8, 12));
    ASSERT_EQ(bars.size(), 2u);
    ExpectColor(bars[0].bottomColor, 1.0f, 0.7f, -0.1f);
    ExpectColor(bars[0].topColor, 1.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(bars[0].top, 72.5f);
    EXPECT_FLOAT_EQ(bars[1].top, 45.0f);
    ExpectColor(bars[1].topColor, 0.4f, 0.6f, 0.4f);  // position 0: no fading
}

TEST(ServiceGraphs, HistogramScalesToTheTallestShownClass) {
    auto h = Empty();
    h->voltageHistogram[52] = 10;
    h->voltageHistogram[7] = 5;
    h->voltageHistogram[101] = 99;  // counted, not drawn, no part of the scale
    h->voltageHistogram[200] = 99;
    DrawList list = BuildVoltageHistogram(*h);
    const DrawOp& ortho = OnlyOp(list, DrawOp::Kind::Ortho);
    EXPECT_EQ(std::vector<float>(ortho.values, ortho.values + 6), (std::vector<float>{-1, 101, -2, 10.5f, -1, 1}));
    const DrawOp& grid = OnlyOp(list, DrawOp::Kind::Lines);
    EXPECT_EQ(grid.count, 24u);
    EXPECT_EQ(list.points[grid.first + 23].y, 10.0f);

    std::vector<float> heights;
    DrawColor color{};
    for (const DrawOp& op : list.ops) {
        if (op.kind == DrawOp::Kind::Color) color = {op.values[0], op.values[1], op.values[2], op.values[3]};
        if (op.kind != DrawOp::Kind::Polygon) continue;
        ASSERT_EQ(op.count, 4u);
        const DrawPoint* p = &list.points[op.first];
        const float k = static_cast<float>(heights.size());
        EXPECT_EQ(p[0].x, k);
        EXPECT_FLOAT_EQ(p[2].x, k + 0.77f);
        heights.push_back(p[1].y);
        if (k == 52) ExpectColor(color, 0.5f, 0.7f, 0.5f);
        if (k == 7) ExpectColor(color, 0.4f, 0.6f, 0.4f);
    }
    ASSERT_EQ(heights.size(), 101u);
    EXPECT_EQ(heights[52], 10.0f);
    EXPECT_EQ(heights[7], 5.0f);
    EXPECT_EQ(heights[100], 0.0f);
}
