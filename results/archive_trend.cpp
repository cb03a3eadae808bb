// Geometry of a sample source's trend over the archive.
#include "results/archive_trend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "common/color.h"
#include "common/font_glyphs.h"
#include "results/archive_versions.h"
#include "results/archive_filter.h"
#include "verdict/verdict.h"

namespace {

struct Span {
    const uint8_t* text;
    size_t length;
};

bool IsBlank(uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

Span Trimmed(const char* slot) {
    const auto* s = reinterpret_cast<const uint8_t*>(slot);
    const void* zero = std::memchr(s, 0, kProtocolTextSize);
    size_t end = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - s) : kProtocolTextSize;
    size_t begin = 0;
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return {s + begin, end - begin};
}

bool SameFolded(Span a, Span b) {
    if (a.length != b.length) return false;
    for (size_t i = 0; i < a.length; ++i)
        if (FoldCp1251(a.text[i]) != FoldCp1251(b.text[i])) return false;
    return true;
}

// Proleptic Gregorian calendar, days since 1.1.1970 and back.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, unsigned* y, unsigned* m, unsigned* d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<unsigned>(static_cast<int64_t>(yoe) + era * 400 + (*m <= 2));
}

float Kilovolts(uint16_t word) { return (word & kVoltageMask) / 10.0f; }

// The mean as the protocol shows it: the bound when the mean itself did not
// break down.
float MeanKilovolts(const TestRecord& r) {
    return (r.meanVoltage & kNoBreakdownBit) ? Kilovolts(r.boundVoltage) : Kilovolts(r.meanVoltage);
}

float NiceStep(float range, int maxTicks) {
    const float raw = range / maxTicks;
    const float power = std::pow(10.0f, std::floor(std::log10(raw)));
    for (float f : {1.0f, 2.0f, 5.0f, 10.0f})
        if (f * power >= raw) return f * power;
    return 10.0f * power;
}

struct DateTick {
    double x;
    unsigned y, m, d;
};

// Ticks at whole days for short spans, at the first of a month for longer
// ones, never more than about eight.
std::vector<DateTick> DateTicks(int64_t origin, double lo, double hi) {
    std::vector<DateTick> ticks;
    const double span = hi - lo;
    static const int kDaySteps[] = {1, 2, 7, 14};
    for (int step : kDaySteps) {
        if (span / step > 8) continue;
        for (int64_t day = static_cast<int64_t>(std::ceil(origin + lo)); day <= origin + hi; ++day) {
            if (((day % step) + step) % step != 0) continue;
            DateTick t{static_cast<double>(day - origin), 0, 0, 0};
            CivilFromDays(day, &t.y, &t.m, &t.d);
            ticks.push_back(t);
        }
        return ticks;
    }
    static const int kMonthSteps[] = {1, 2, 3, 6, 12, 24, 60, 120, 240, 600};
    int months = kMonthSteps[sizeof kMonthSteps / sizeof kMonthSteps[0] - 1];
    for (int step : kMonthSteps)
        if (span / (30.44 * step) <= 8) {
            months = step;
            break;
        }
    unsigned y, m, d;
    CivilFromDays(static_cast<int64_t>(std::floor(origin + lo)), &y, &m, &d);
    for (int64_t index = int64_t(y) * 12 + (m - 1);; ++index) {
        const unsigned ty = static_cast<unsigned>(index / 12), tm = static_cast<unsigned>(index % 12) + 1;
        const double x = static_cast<double>(DaysFromCivil(ty, tm, 1) - origin);
        if (x > hi) break;
        if (x >= lo && index % months == 0) ticks.push_back({x, ty, tm, 1});
    }
    return ticks;
}

void SetColor(DrawList& list, uint32_t ref) {
    const DrawColor c = ColorFromRef(ref);
    list.Color(c.r, c.g, c.b, c.a);
}

void SetVertexColor(DrawList& list, uint32_t ref) {
    const DrawColor c = ColorFromRef(ref);
    list.SetVertexColor(c.r, c.g, c.b, c.a);
}

// The norm every judged series drawn was judged against; a limit two of them
// disagree on is no limit of the picture. Series not judged have no say.
NormLimits SharedNorm(const TestRecord* records, const std::vector<uint32_t>& series) {
    NormLimits shared{0, 0};
    bool goodAgrees = true;
    for (uint32_t i : series) {
        const VerdictBlock& v = records[i].verdict;
        if (!v.present || v.normMinimum == 0) continue;
        if (shared.minimum == 0) {
            shared = {v.normMinimum, v.normGood};
            continue;
        }
        if (v.normMinimum != shared.minimum) return {0, 0};
        goodAgrees = goodAgrees && v.normGood == shared.good;
    }
    if (!goodAgrees) shared.good = 0;
    return shared;
}

// A bound that did not break down says nothing against the norm, as when
// the series was judged.
bool BelowNorm(const TestRecord& r, NormLimits norm) {
    return norm.minimum && !(r.meanVoltage & kNoBreakdownBit) && (r.meanVoltage & kVoltageMask) < norm.minimum;
}

void AddBand(DrawList& list, float left, float right, float y, float half) {
    list.Begin(DrawOp::Kind::Quad);
    list.Point(left, y - half);
    list.Point(right, y - half);
    list.Point(right, y + half);
    list.Point(left, y + half);
}

// Bands a little thicker than the grid's lines, so the norm stands out from it.
void AddNormLines(DrawList& list, NormLimits norm, float x0, float x1, float top) {
    if (norm.minimum == 0) return;
    const float half = 0.004f * top;
    SetVertexColor(list, kTrendNormColor);
    AddBand(list, x0, x1, norm.minimum / 10.0f, half);
    if (norm.good == 0) return;
    const float dash = (x1 - x0) / 80;
    for (float x = x0; x < x1; x += 2 * dash) AddBand(list, x, std::min(x + dash, x1), norm.good / 10.0f, half);
}

// "40 кВ", "40,5 кВ": as the conclusions write a norm.
std::string NormText(const char* word, uint16_t tenths) {
    char text[48];
    if (tenths % 10 == 0)
        std::snprintf(text, sizeof text, "%s %u кВ", word, tenths / 10u);
    else
        std::snprintf(text, sizeof text, "%s %u,%u кВ", word, tenths / 10u, tenths % 10u);
    return text;
}

// The picture's pixels when the window opens, over the projection's span
// (BuildArchiveTrend's Ortho): a label's size in plot units at that size. A
// larger window only makes the label smaller beside the marks.
constexpr float kPicturePixelsX = 640, kPicturePixelsY = 380;
constexpr float kSpanX = 1.19f, kSpanY = 1.25f;

float TextPixels(const std::string& text) {
    float pixels = 0;
    for (unsigned char c : text) pixels += static_cast<float>(GlyphAdvance(c));
    return pixels;
}

// The points of the marks, means and joining line (the ops from marksFrom
// on) that a label could hide behind.
std::vector<DrawPoint> PlottedPoints(const DrawList& list, size_t marksFrom) {
    std::vector<DrawPoint> points;
    for (size_t o = marksFrom; o < list.ops.size(); ++o) {
        const DrawOp& op = list.ops[o];
        if (op.kind != DrawOp::Kind::Quad && op.kind != DrawOp::Kind::Lines && op.kind != DrawOp::Kind::LineStrip)
            continue;
        const uint32_t end = std::min<uint32_t>(op.first + op.count, static_cast<uint32_t>(list.points.size()));
        for (uint32_t i = op.first; i < end; ++i) points.push_back(list.points[i]);
        if (op.kind != DrawOp::Kind::LineStrip) continue;
        // A joining line crosses a label between its ends: points along it too.
        for (uint32_t i = op.first + 1; i < end; ++i)
            for (int k = 1; k < 32; ++k) {
                const DrawPoint& a = list.points[i - 1];
                const DrawPoint& b = list.points[i];
                points.push_back({a.x + (b.x - a.x) * k / 32, a.y + (b.y - a.y) * k / 32, a.color});
            }
    }
    return points;
}

// The minimum's label under its line from the left, the good limit's above
// its own from the right (oil gets worse with the years), each moved to
// where no mark, mean or joining line lies in it; the good limit's keeps
// clear of the minimum's.
void AddNormLabels(DrawList& list, size_t marksFrom, NormLimits norm, float x0, float x1, float width, float top) {
    if (norm.minimum == 0) return;
    // Not the grid's lines and the norm's own: they cross every place.
    std::vector<DrawPoint> points = PlottedPoints(list, marksFrom);
    const float perPixelX = kSpanX * width / kPicturePixelsX, perPixelY = kSpanY * top / kPicturePixelsY;
    const DrawPoint margin{0.006f * width, 0.012f * top, {}};
    const float h = kGlyphRows * perPixelY, gap = 0.01f * top;
    const std::string minimum = NormText("норма", norm.minimum);
    const float minimumW = TextPixels(minimum) * perPixelX;
    const TrendLabelPlace a = PlaceTrendLabel(points, margin, norm.minimum / 10.0f, minimumW, h, gap, x0, x1, false);
    SetColor(list, kTrendNormColor);
    list.RasterPos(a.x, a.y);
    list.Text(a.above, minimum);
    if (norm.good == 0) return;
    const float boxY = a.above ? a.y : a.y - h;
    for (float fx = 0; fx <= 1; fx += 0.25f)
        for (float fy = 0; fy <= 1; fy += 0.25f) points.push_back({a.x + fx * minimumW, boxY + fy * h, {}});
    const std::string good = NormText("хорошо", norm.good);
    const TrendLabelPlace b =
        PlaceTrendLabel(points, margin, norm.good / 10.0f, TextPixels(good) * perPixelX, h, gap, x0, x1, true);
    list.RasterPos(b.x, b.y);
    list.Text(b.above, good);
}

// Marks keep their size on screen whatever the span: a fraction of the plot.
void AddMarks(DrawList& list, const TestRecord* records, const std::vector<uint32_t>& series, int64_t origin,
              float width, float top, NormLimits norm) {
    const float halfW = 0.006f * width, halfH = 0.012f * top;
    for (uint32_t i : series) {
        const TestRecord& r = records[i];
        const float x = static_cast<float>(TrendDay(r.testTime) - origin);
        for (int v = 0; v < StoredValueCount(r); ++v) {
            const uint16_t w = r.breakdownVoltage[v];
            SetVertexColor(list, (w & kNoBreakdownBit) ? kTrendNoBreakdownColor : kTrendValueColor);
            const float y = Kilovolts(w);
            list.Begin(DrawOp::Kind::Quad);
            list.Point(x - halfW, y - halfH);
            list.Point(x + halfW, y - halfH);
            list.Point(x + halfW, y + halfH);
            list.Point(x - halfW, y + halfH);
        }
    }
    if (!series.empty()) {
        list.Begin(DrawOp::Kind::Lines);
        for (uint32_t i : series) {
            const float x = static_cast<float>(TrendDay(records[i].testTime) - origin);
            SetVertexColor(list, BelowNorm(records[i], norm) ? kTrendBelowNormColor : kTrendMeanColor);
            list.Point(x - 3 * halfW, MeanKilovolts(records[i]));
            list.Point(x + 3 * halfW, MeanKilovolts(records[i]));
        }
        // A failing mean is a bar across its values, where a dash would hide.
        SetVertexColor(list, kTrendBelowNormColor);
        for (uint32_t i : series) {
            if (!BelowNorm(records[i], norm)) continue;
            const float x = static_cast<float>(TrendDay(records[i].testTime) - origin);
            AddBand(list, x - 3 * halfW, x + 3 * halfW, MeanKilovolts(records[i]), 0.5f * halfH);
        }
        // The joining line keeps its colour: only the means that fail stand out.
        SetVertexColor(list, kTrendMeanColor);
        list.Begin(DrawOp::Kind::LineStrip);
        for (uint32_t i : series)
            list.Point(static_cast<float>(TrendDay(records[i].testTime) - origin), MeanKilovolts(records[i]));
    }
}

void AddScaleLabels(DrawList& list, const std::vector<DateTick>& ticks, float x0, float width, float top,
                    float step) {
    SetColor(list, kTrendLabelColor);
    char text[32];
    for (float v = 0; v <= top + step / 2; v += step) {
        std::snprintf(text, sizeof text, "%.0f кВ", v);
        list.RasterPos(x0 - 0.11f * width, v - 0.02f * top);
        list.Text(true, text);
    }
    for (const DateTick& t : ticks) {
        std::snprintf(text, sizeof text, "%u.%u.%u", t.d, t.m, t.y);
        list.RasterPos(static_cast<float>(t.x) - 0.03f * width, -0.02f * top);
        list.Text(false, text);
    }
}

// The window's caption does not go along with a copied picture, so the
// picture names what it shows itself.
void AddTitle(DrawList& list, const TestRecord* records, const std::vector<uint32_t>& series, const char* source,
              float x0, float titleY) {
    const Span name = Trimmed(source);
    std::string title(reinterpret_cast<const char*>(name.text), name.length);
    if (!series.empty()) {
        const SystemTime& a = records[series.front()].testTime;
        const SystemTime& b = records[series.back()].testTime;
        char dates[64];
        std::snprintf(dates, sizeof dates, ", %u.%u.%u", a.wDay, a.wMonth, a.wYear);
        title += dates;
        if (a.wDay != b.wDay || a.wMonth != b.wMonth || a.wYear != b.wYear) {
            std::snprintf(dates, sizeof dates, " - %u.%u.%u", b.wDay, b.wMonth, b.wYear);
            title += dates;
        }
    }
    SetColor(list, kTrendLabelColor);
    list.RasterPos(x0, titleY);
    list.Text(false, title);
}

}  // namespace

double TrendDay(const SystemTime& t) {
    const unsigned month = std::min<unsigned>(std::max<unsigned>(t.wMonth, 1), 12);
    const unsigned day = std::min<unsigned>(std::max<unsigned>(t.wDay, 1), 31);
    const unsigned minutes = std::min<unsigned>(t.wHour, 23) * 60 + std::min<unsigned>(t.wMinute, 59);
    return static_cast<double>(DaysFromCivil(t.wYear, month, day)) + minutes / 1440.0;
}

std::vector<uint32_t> TrendRecords(const TestRecord* records, size_t count, const char* source) {
    std::vector<uint32_t> found;
    const Span wanted = Trimmed(source);
    if (wanted.length == 0) return found;
    // A series counts once, as its newest version: a mended source moves it.
    ArchiveVersions versions;
    for (size_t i = 0; i < count; ++i) versions.Add(records, static_cast<uint32_t>(i));
    for (size_t i = 0; i < count; ++i)
        if (versions.Newest(versions.FirstOf(static_cast<uint32_t>(i))) == i &&
            SameFolded(Trimmed(records[i].protocolText[3]), wanted))
            found.push_back(static_cast<uint32_t>(i));
    // Seconds decide between two series of one minute; day keys alone would
    // let a damaged time of day reorder them.
    auto key = [&](uint32_t i) {
        const SystemTime& t = records[i].testTime;
        return std::make_tuple(TrendDay(t), t.wSecond, t.wMilliseconds);
    };
    std::stable_sort(found.begin(), found.end(), [&](uint32_t a, uint32_t b) { return key(a) < key(b); });
    return found;
}

namespace {

// Where the picture's series lie, and the scale that shows them and the norm.
struct Extent {
    int64_t origin;  // the first series' day: positions are kept relative to it
    double lo, hi;   // days drawn, from origin
    float step, top; // kilovolts between ticks, and the scale's top
};

Extent MeasureSeries(const TestRecord* records, const std::vector<uint32_t>& series, NormLimits norm) {
    // Relative to the first day, float vertices still tell minutes apart
    // decades after 1970.
    Extent e{series.empty() ? 0 : static_cast<int64_t>(std::floor(TrendDay(records[series[0]].testTime))), 0, 0, 0, 0};
    double first = 0, last = 0;
    float highest = std::max(norm.minimum, norm.good) / 10.0f;
    for (size_t k = 0; k < series.size(); ++k) {
        const TestRecord& r = records[series[k]];
        const double x = TrendDay(r.testTime) - e.origin;
        if (k == 0) first = x;
        last = x;
        highest = std::max(highest, MeanKilovolts(r));
        for (int v = 0; v < StoredValueCount(r); ++v) highest = std::max(highest, Kilovolts(r.breakdownVoltage[v]));
    }
    if (last - first < 2) {
        const double middle = (first + last) / 2;
        e.lo = middle - 1.5;
        e.hi = middle + 1.5;
    } else {
        const double pad = 0.04 * (last - first);
        e.lo = first - pad;
        e.hi = last + pad;
    }
    e.step = highest > 0 ? std::max(1.0f, NiceStep(highest, 6)) : 2.0f;
    e.top = highest > 0 ? std::ceil(highest / e.step) * e.step : 10.0f;
    return e;
}

void AddGridAndAxes(DrawList& list, const std::vector<DateTick>& ticks, float x0, float x1, float step, float top) {
    list.Begin(DrawOp::Kind::Lines);
    SetVertexColor(list, kTrendGridColor);
    for (float v = step; v <= top + step / 2; v += step) {
        list.Point(x0, v);
        list.Point(x1, v);
    }
    for (const DateTick& t : ticks) {
        list.Point(static_cast<float>(t.x), 0);
        list.Point(static_cast<float>(t.x), top);
    }
    SetVertexColor(list, kTrendAxisColor);
    list.Point(x0, 0);
    list.Point(x1, 0);
    list.Point(x0, 0);
    list.Point(x0, top);
}

}  // namespace

TrendLabelPlace PlaceTrendLabel(const std::vector<DrawPoint>& points, DrawPoint margin, float lineY, float w, float h,
                                float gap, float x0, float x1, bool fromRight) {
    constexpr int kSteps = 8;  // places along the line, from the preferred end
    const float inset = 0.01f * (x1 - x0);
    const float left = x0 + inset, right = std::max(left, x1 - inset - w);
    TrendLabelPlace best{left, lineY - gap, false};
    size_t fewest = static_cast<size_t>(-1);
    for (int step = 0; step <= kSteps; ++step) {
        const float f = static_cast<float>(step) / kSteps;
        const float x = fromRight ? right - f * (right - left) : left + f * (right - left);
        // The preferred side first: under the minimum's line, above the good limit's.
        for (bool above : {fromRight, !fromRight}) {
            const float bottom = above ? lineY + gap : lineY - gap - h;
            size_t inside = 0;
            for (const DrawPoint& p : points)
                if (p.x > x - margin.x && p.x < x + w + margin.x && p.y > bottom - margin.y && p.y < bottom + h + margin.y)
                    ++inside;
            if (inside < fewest) {
                fewest = inside;
                best = {x, above ? bottom : bottom + h, above};
            }
            if (inside == 0) return best;
        }
    }
    return best;
}

DrawList BuildArchiveTrend(const TestRecord* records, size_t count, const char* source) {
    std::vector<uint32_t> series = TrendRecords(records, count, source);
    series.erase(std::remove_if(series.begin(), series.end(),
                                [&](uint32_t i) { return StoredValueCount(records[i]) == 0; }),
                 series.end());
    const NormLimits norm = SharedNorm(records, series);
    const Extent e = MeasureSeries(records, series, norm);
    const float width = static_cast<float>(e.hi - e.lo);
    const float x0 = static_cast<float>(e.lo), x1 = static_cast<float>(e.hi);

    DrawList list;
    // Room above the plot for the title.
    list.Ortho(x0 - 0.12f * width, x1 + 0.07f * width, -0.1f * e.top, 1.15f * e.top, -1, 1);
    const DrawColor back = ColorFromRef(kTrendBackground);
    list.Clear(back.r, back.g, back.b);

    const std::vector<DateTick> ticks = DateTicks(e.origin, e.lo, e.hi);
    AddGridAndAxes(list, ticks, x0, x1, e.step, e.top);
    AddNormLines(list, norm, x0, x1, e.top);
    const size_t marksFrom = list.ops.size();
    AddMarks(list, records, series, e.origin, width, e.top, norm);
    AddScaleLabels(list, ticks, x0, width, e.top, e.step);
    AddNormLabels(list, marksFrom, norm, x0, x1, width, e.top);
    AddTitle(list, records, series, source, x0 - 0.11f * width, 1.13f * e.top);
    return list;
}
