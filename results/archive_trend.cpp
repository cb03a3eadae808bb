// Geometry of a sample source's trend over the archive.
#include "results/archive_trend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "picture/color.h"
#include "results/archive_filter.h"

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

// Marks keep their size on screen whatever the span: a fraction of the plot.
void AddMarks(DrawList& list, const TestRecord* records, const std::vector<uint32_t>& series, int64_t origin,
              float width, float top) {
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
        SetVertexColor(list, kTrendMeanColor);
        list.Begin(DrawOp::Kind::Lines);
        for (uint32_t i : series) {
            const float x = static_cast<float>(TrendDay(records[i].testTime) - origin);
            list.Point(x - 3 * halfW, MeanKilovolts(records[i]));
            list.Point(x + 3 * halfW, MeanKilovolts(records[i]));
        }
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
    for (size_t i = 0; i < count; ++i)
        if (SameFolded(Trimmed(records[i].protocolText[3]), wanted)) found.push_back(static_cast<uint32_t>(i));
    // Seconds decide between two series of one minute; day keys alone would
    // let a damaged time of day reorder them.
    auto key = [&](uint32_t i) {
        const SystemTime& t = records[i].testTime;
        return std::make_tuple(TrendDay(t), t.wSecond, t.wMilliseconds);
    };
    std::stable_sort(found.begin(), found.end(), [&](uint32_t a, uint32_t b) { return key(a) < key(b); });
    return found;
}

DrawList BuildArchiveTrend(const TestRecord* records, size_t count, const char* source) {
    std::vector<uint32_t> series = TrendRecords(records, count, source);
    series.erase(std::remove_if(series.begin(), series.end(),
                                [&](uint32_t i) { return StoredValueCount(records[i]) == 0; }),
                 series.end());

    // Positions are kept relative to the first day so that float vertices
    // still tell minutes apart decades after 1970.
    const int64_t origin = series.empty() ? 0 : static_cast<int64_t>(std::floor(TrendDay(records[series[0]].testTime)));
    double first = 0, last = 0;
    float highest = 0;
    for (size_t k = 0; k < series.size(); ++k) {
        const TestRecord& r = records[series[k]];
        const double x = TrendDay(r.testTime) - origin;
        if (k == 0) first = x;
        last = x;
        highest = std::max(highest, MeanKilovolts(r));
        for (int v = 0; v < StoredValueCount(r); ++v) highest = std::max(highest, Kilovolts(r.breakdownVoltage[v]));
    }
    double lo, hi;
    if (last - first < 2) {
        const double middle = (first + last) / 2;
        lo = middle - 1.5;
        hi = middle + 1.5;
    } else {
        const double pad = 0.04 * (last - first);
        lo = first - pad;
        hi = last + pad;
    }
    const float step = highest > 0 ? std::max(1.0f, NiceStep(highest, 6)) : 2.0f;
    const float top = highest > 0 ? std::ceil(highest / step) * step : 10.0f;
    const float width = static_cast<float>(hi - lo);
    const float x0 = static_cast<float>(lo), x1 = static_cast<float>(hi);

    DrawList list;
    // Room above the plot for the title.
    list.Ortho(x0 - 0.12f * width, x1 + 0.07f * width, -0.1f * top, 1.15f * top, -1, 1);
    const DrawColor back = ColorFromRef(kTrendBackground);
    list.Clear(back.r, back.g, back.b);

    const std::vector<DateTick> ticks = DateTicks(origin, lo, hi);
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

    AddMarks(list, records, series, origin, width, top);
    AddScaleLabels(list, ticks, x0, width, top, step);
    AddTitle(list, records, series, source, x0 - 0.11f * width, 1.13f * top);
    return list;
}
