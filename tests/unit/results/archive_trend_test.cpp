// The trend picture of a sample source: which series, in which order, drawn where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/color.h"
#include "results/archive_trend.h"
#include "verdict/verdict.h"

namespace {

struct Series {
    const char* source;
    SystemTime when;
    std::vector<uint16_t> values;
    uint16_t mean;
};

std::vector<TestRecord> Records(const std::vector<Series>& list) {
    std::vector<TestRecord> out(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        std::strcpy(out[i].protocolText[3], list[i].source);
        out[i].testTime = list[i].when;
        out[i].valueCount = static_cast<uint8_t>(list[i].values.size());
        for (size_t v = 0; v < list[i].values.size(); ++v) out[i].breakdownVoltage[v] = list[i].values[v];
        out[i].meanVoltage = list[i].mean;
        out[i].boundVoltage = 1000;
    }
    return out;
}

bool Same(DrawColor a, uint32_t ref) {
    const DrawColor b = ColorFromRef(ref);
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// Each series judged against its norm in turn; {0, 0} leaves one not judged.
void Judge(std::vector<TestRecord>& records, const std::vector<NormLimits>& norms) {
    for (size_t i = 0; i < norms.size(); ++i)
        if (norms[i].minimum) records[i].verdict = JudgeSeries(records[i], nullptr, norms[i]);
}

struct Summary {
    int values = 0, noBreakdowns = 0, redMeans = 0;
    std::vector<DrawPoint> meanLine;
    float left = 0, right = 0, bottom = 0, top = 0;
    std::vector<DrawPoint> marks;  // quad centres
    float normY = 0, goodY = 0;    // the solid band, the dashed one
};

Summary Summarise(const DrawList& list) {
    Summary s;
    for (const DrawOp& op : list.ops) {
        if (op.kind == DrawOp::Kind::Ortho) {
            s.left = op.values[0], s.right = op.values[1], s.bottom = op.values[2], s.top = op.values[3];
        } else if (op.kind == DrawOp::Kind::Quad) {
            const DrawPoint& a = list.points[op.first];
            const DrawPoint& c = list.points[op.first + 2];
            s.marks.push_back({(a.x + c.x) / 2, (a.y + c.y) / 2, a.color});
            if (Same(a.color, kTrendValueColor)) ++s.values;
            if (Same(a.color, kTrendNoBreakdownColor)) ++s.noBreakdowns;
            // The solid band spans the plot; a dash is a fraction of it.
            const bool across = list.points[op.first + 1].x - a.x > (s.right - s.left) / 2;
            if (Same(a.color, kTrendNormColor)) (across ? s.normY : s.goodY) = s.marks.back().y;
        } else if (op.kind == DrawOp::Kind::Lines) {
            for (uint32_t k = op.first; k < op.first + op.count; k += 2)
                s.redMeans += Same(list.points[k].color, kTrendBelowNormColor);
        } else if (op.kind == DrawOp::Kind::LineStrip) {
            s.meanLine.assign(list.points.begin() + op.first, list.points.begin() + op.first + op.count);
        }
    }
    return s;
}

void ExpectCovered(const Summary& s, float x, float y) {
    EXPECT_LT(s.left, x);
    EXPECT_GT(s.right, x);
    EXPECT_LT(s.bottom, y);
    EXPECT_GT(s.top, y);
}

}  // namespace

TEST(ArchiveTrend, SelectsTheSourceTrimmedAndCaseInsensitiveInDateOrder) {
    const auto records = Records({
        {"  ТМ-1000 Ёлочная ", {2024, 5, 0, 3, 12, 0, 0, 0}, {500}, 500},
        {"тм-1000 ёлочная", {2021, 1, 0, 9, 8, 0, 0, 0}, {400}, 400},
        {"ТМ-1000 Ёлочная-2", {2022, 1, 0, 9, 8, 0, 0, 0}, {400}, 400},
        {"ТМ-1000 ЁЛОЧНАЯ", {2024, 5, 0, 3, 9, 0, 0, 0}, {450}, 450},
        {"", {2023, 1, 0, 1, 8, 0, 0, 0}, {400}, 400},
    });
    EXPECT_EQ(TrendRecords(records.data(), records.size(), "ТМ-1000 ЁЛОЧНАЯ  "), (std::vector<uint32_t>{1, 3, 0}));
    EXPECT_TRUE(TrendRecords(records.data(), records.size(), "   ").empty()) << "a blank source names nothing";
}

TEST(ArchiveTrend, GeometryOfOneTwoAndManySeries) {
    const uint16_t nb = kNoBreakdownBit;
    std::vector<Series> many;
    for (int k = 0; k < 40; ++k)
        many.push_back({"T1", {static_cast<uint16_t>(2010 + k / 4), static_cast<uint16_t>(1 + 3 * (k % 4)), 0, 20, 10, 0, 0, 0},
                        {static_cast<uint16_t>(600 - 5 * k), static_cast<uint16_t>(620 - 5 * k)},
                        static_cast<uint16_t>(610 - 5 * k)});
    many.push_back({"T2", {2015, 1, 0, 1, 0, 0, 0, 0}, {900}, 900});  // another source, not drawn
    // Three series whose means are 38.5, 45 and 30 kV (the last not judged).
    const std::vector<Series> judged = {{"T1", {2020, 6, 0, 1, 10, 0, 0, 0}, {380, 390}, 385},
                                        {"T1", {2021, 6, 0, 1, 10, 0, 0, 0}, {450}, 450},
                                        {"T1", {2022, 6, 0, 1, 10, 0, 0, 0}, {300}, 300}};
    const struct {
        const char* name;
        std::vector<Series> series;
        int values, noBreakdowns;
        size_t means;
        std::vector<NormLimits> norms;
        float normKv, goodKv;  // 0: no such line
        int redMeans;
    } cases[] = {
        {"one", {{"T1", {2020, 6, 0, 1, 10, 0, 0, 0}, {523, 600, nb | 700}, 562}}, 2, 1, 1, {}, 0, 0, 0},
        {"two", {{"T1", {2023, 6, 0, 1, 10, 0, 0, 0}, {300, 350}, 325}, {"T1", {2020, 6, 0, 1, 10, 0, 0, 0}, {nb | 1000}, nb | 1000}},
         2, 1, 2, {}, 0, 0, 0},
        {"one day", {{"T1", {2020, 6, 0, 1, 14, 0, 0, 0}, {300}, 300}, {"T1", {2020, 6, 0, 1, 9, 0, 0, 0}, {200}, 200}},
         2, 0, 2, {}, 0, 0, 0},
        {"many", many, 80, 0, 40, {}, 0, 0, 0},
        {"no values", {{"T1", {2020, 6, 0, 1, 10, 0, 0, 0}, {}, 0}}, 0, 0, 0, {}, 0, 0, 0},
        {"none", {{"T3", {2020, 6, 0, 1, 10, 0, 0, 0}, {400}, 400}}, 0, 0, 0, {}, 0, 0, 0},
        {"a shared norm above every mark", judged, 4, 0, 3, {{400, 700}, {400, 700}}, 40, 70, 2},
        {"good limits differ", judged, 4, 0, 3, {{400, 600}, {400, 0}, {400, 600}}, 40, 0, 2},
        {"minimums differ", judged, 4, 0, 3, {{400, 0}, {450, 0}}, 0, 0, 0},
        {"a bound is no failure", {{"T1", {2020, 6, 0, 1, 10, 0, 0, 0}, {nb | 300}, nb | 300}}, 0, 1, 1,
         {{400, 0}}, 40, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto records = Records(c.series);
        Judge(records, c.norms);
        const DrawList list = BuildArchiveTrend(records.data(), records.size(), "t1");
        const Summary s = Summarise(list);
        EXPECT_EQ(s.values, c.values);
        EXPECT_EQ(s.noBreakdowns, c.noBreakdowns);
        EXPECT_FLOAT_EQ(s.normY, c.normKv);
        EXPECT_FLOAT_EQ(s.goodY, c.goodKv);
        EXPECT_EQ(s.redMeans, c.redMeans);
        EXPECT_GT(s.top, std::max(c.normKv, c.goodKv)) << "the norm lies in the picture";
        const bool labelled = std::count(list.texts.begin(), list.texts.end(),
                                         "норма " + std::to_string(static_cast<int>(c.normKv)) + " кВ");
        EXPECT_EQ(labelled, c.normKv > 0);
        ASSERT_EQ(s.meanLine.size(), c.means);
        for (size_t k = 1; k < s.meanLine.size(); ++k) EXPECT_LT(s.meanLine[k - 1].x, s.meanLine[k].x) << k;
        for (const DrawPoint& p : s.meanLine) ExpectCovered(s, p.x, p.y);
        for (const DrawPoint& p : s.marks) ExpectCovered(s, p.x, p.y);
        EXPECT_LT(s.left, s.right);
        EXPECT_LT(s.bottom, 0.0f);
        EXPECT_GT(s.top, 0.0f);
    }
}

TEST(ArchiveTrend, NoBreakdownsSitAtTheirBoundAndMeansAsShown) {
    const auto records = Records({
        {"T1", {2020, 6, 0, 1, 10, 0, 0, 0}, {kNoBreakdownBit | 700, 520}, kNoBreakdownBit | 700},
        {"T1", {2021, 6, 0, 1, 10, 0, 0, 0}, {480}, 480},
    });
    const Summary s = Summarise(BuildArchiveTrend(records.data(), records.size(), "T1"));
    ASSERT_EQ(s.marks.size(), 3u);
    EXPECT_FLOAT_EQ(s.marks[0].y, 70.0f);
    EXPECT_TRUE(Same(s.marks[0].color, kTrendNoBreakdownColor));
    EXPECT_FLOAT_EQ(s.marks[1].y, 52.0f);
    ASSERT_EQ(s.meanLine.size(), 2u);
    EXPECT_FLOAT_EQ(s.meanLine[0].y, 100.0f) << "a mean without breakdown is drawn at the record's bound";
    EXPECT_FLOAT_EQ(s.meanLine[1].y, 48.0f);
    EXPECT_NEAR(s.meanLine[1].x - s.meanLine[0].x, 365.0f, 0.01f);
}

TEST(ArchiveTrend, AxesCarryDateAndKilovoltLabels) {
    const auto records = Records({
        {"T1", {2019, 2, 0, 10, 10, 0, 0, 0}, {450}, 450},
        {"T1", {2024, 11, 0, 10, 10, 0, 0, 0}, {610}, 610},
    });
    const DrawList list = BuildArchiveTrend(records.data(), records.size(), "T1");
    int dates = 0, kilovolts = 0;
    for (const std::string& t : list.texts) {
        if (t.find(" кВ") != std::string::npos) ++kilovolts;
        else if (std::count(t.begin(), t.end(), '.') == 2) ++dates;
    }
    EXPECT_GE(dates, 3);
    EXPECT_LE(dates, 10);
    EXPECT_GE(kilovolts, 3);
    EXPECT_LE(kilovolts, 10);
    EXPECT_EQ(dates + kilovolts + 1, static_cast<int>(list.texts.size())) << "and the title";
    const DrawList empty = BuildArchiveTrend(records.data(), 0, "T1");
    EXPECT_FALSE(empty.texts.empty()) << "empty axes still show their scale";
}

// A copied picture leaves the window's caption behind; the title goes with it.
TEST(ArchiveTrend, TitleNamesTheSourceAndTheDates) {
    const struct {
        const char* name;
        std::vector<Series> series;
        const char* title;
    } cases[] = {
        {"years apart, listed out of order",
         {{"T1", {2024, 11, 0, 10, 10, 0, 0, 0}, {610}, 610}, {"T1", {2019, 2, 0, 10, 10, 0, 0, 0}, {450}, 450}},
         "T1, 10.2.2019 - 10.11.2024"},
        {"one day", {{"T1", {2020, 6, 0, 1, 14, 0, 0, 0}, {300}, 300}, {"T1", {2020, 6, 0, 1, 9, 0, 0, 0}, {200}, 200}},
         "T1, 1.6.2020"},
        {"none of the source", {{"T3", {2020, 6, 0, 1, 10, 0, 0, 0}, {400}, 400}}, "T1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = Records(c.series);
        const DrawList list = BuildArchiveTrend(records.data(), records.size(), "  T1 ");
        ASSERT_FALSE(list.texts.empty());
        EXPECT_EQ(list.texts.back(), c.title);
    }
}

// A 100 x 100 plot, a label 20 x 5 beside the line at 50, 1 away from it;
// the places along the line lie 9.75 apart from x 1 to x 79. A label under
// the line hangs from its top (49), one above stands on its bottom (51).
TEST(ArchiveTrend, NormLabelsGoWhereNoMarkLies) {
    auto at = [](float x, float y) { return DrawPoint{x, y, {}}; };
    const struct { std::vector<DrawPoint> points; bool fromRight; TrendLabelPlace place; } cases[] = {
        {{}, false, {1, 49, false}},                              // nothing near: under the line at the left
        {{at(10, 46)}, false, {1, 51, true}},                     // a mark under it: above
        {{at(10, 46), at(10, 53)}, false, {20.5f, 49, false}},    // marks on both sides: further right
        {{}, true, {79, 51, true}},                               // the good limit's: above at the right
        {{at(90, 53)}, true, {79, 49, false}},                    // under a mark there: below its line
        {{at(10, 46), at(10, 53), at(5, 46)}, false, {1, 51, true}},   // no free place: the fewest
    };
    for (auto c : cases) {
        if (c.points.size() == 3)
            for (float x = 12; x <= 100; x += 2) c.points.insert(c.points.end(), {at(x, 46), at(x, 53)});
        const TrendLabelPlace p = PlaceTrendLabel(c.points, {1, 1, {}}, 50, 20, 5, 1, 0, 100, c.fromRight);
        EXPECT_NEAR(p.x, c.place.x, 0.01f) << c.points.size();
        EXPECT_FLOAT_EQ(p.y, c.place.y) << c.points.size();
        EXPECT_EQ(p.above, c.place.above) << c.points.size();
    }
}
