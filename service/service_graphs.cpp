// Builds the frames of the two service graphs from the service history.
#include "service/service_graphs.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "common/color.h"

namespace {

constexpr uint32_t kAxisColor = 0xA4A4A4;
constexpr uint32_t kGridColor = 0x404040;
constexpr uint32_t kLabelColor = 0xFFFFFF;

// Fields of a record head, read at their record offsets (little-endian, as
// the machine and the file are).
uint16_t Word(const RecordHead& head, size_t offset) {
    uint16_t w;
    std::memcpy(&w, head.bytes + offset, sizeof w);
    return w;
}

void SetColor(DrawList& list, DrawColor c) { list.Color(c.r, c.g, c.b, c.a); }
void SetVertexColor(DrawList& list, DrawColor c) { list.SetVertexColor(c.r, c.g, c.b, c.a); }

void Label(DrawList& list, bool above, float x, float y, unsigned kilovolts) {
    char text[16];
    std::snprintf(text, sizeof text, "%u кВ", kilovolts);
    list.RasterPos(x, y);
    list.Text(above, text);
}

// One series' bars into the open Lines batch. Every word read lies inside the
// 64-byte head: bar i reads breakdownVoltage[i], i <= 6 (6 is meanVoltage).
void AddSeriesBars(DrawList& list, const RecordHead& head, int position, bool today) {
    const int bars = SeriesBarCount(head);
    const uint16_t bound = Word(head, offsetof(TestRecord, boundVoltage));
    const float fade = 0.1f * position / kServiceRingSize;
    for (int i = 0; i < bars; ++i) {
        if (i > 0)
            list.SetVertexColor(0.4f - fade, 0.6f - fade, 0.4f - fade);
        else if (today)
            list.SetVertexColor(1.3f, 1.0f, 0.1f);
        else
            list.SetVertexColor(1.0f, 0.7f, -0.1f);
        const float x = static_cast<float>(kBarsPerSeries * position + i);
        list.Point(x, 0);
        const uint16_t w = Word(head, offsetof(TestRecord, breakdownVoltage) + 2 * i);
        if (w & kNoBreakdownBit) {
            list.SetVertexColor(1.0f, 0.0f, 0.0f);
            list.Point(x, bound / 10.0f);
        } else {
            list.Point(x, w / 10.0f);
        }
    }
}

}  // namespace

static_assert(offsetof(TestRecord, breakdownVoltage) + 2 * kBarsPerSeries <= kRecordHeadSize,
              "the bars of a series read inside the record head");

int SeriesBarCount(const RecordHead& head) {
    const int values = head.bytes[offsetof(TestRecord, valueCount)];
    const int planned = head.bytes[offsetof(TestRecord, seriesLength)] & 0x0F;
    const int bars = values + (values < planned ? 1 : 0);
    return bars < kBarsPerSeries ? bars : kBarsPerSeries;
}

DrawList BuildSeriesGraph(const ServiceHistory& history, uint16_t todayDay, uint16_t todayMonth) {
    DrawList list;
    list.Ortho(-5, 355, -10, 105, -1, 1);
    const DrawColor black = ColorFromRef(0);
    list.Clear(black.r, black.g, black.b);

    list.Begin(DrawOp::Kind::Lines);
    const float right = static_cast<float>(kBarsPerSeries * kServiceRingSize);
    SetVertexColor(list, ColorFromRef(kAxisColor));
    list.Point(0, 0);
    list.Point(right, 0);
    SetVertexColor(list, ColorFromRef(kGridColor));
    for (int k = 1; k <= 5; ++k) {
        list.Point(0, 20.0f * k);
        list.Point(right, 20.0f * k);
    }
    // One read of the counter per frame: positions must not shift half-way.
    const int32_t count = history.seriesCount.load(std::memory_order_relaxed);
    for (int d = 0; d < kServiceRingSize; ++d) {
        const int slot = static_cast<int>(((static_cast<int64_t>(d) + count + 1) % kServiceRingSize +
                                           kServiceRingSize) % kServiceRingSize);
        RecordHead head;
        std::memcpy(&head, &history.seriesRing[slot], sizeof head);
        const uint16_t day = Word(head, offsetof(TestRecord, testTime) + offsetof(SystemTime, wDay));
        const uint16_t month = Word(head, offsetof(TestRecord, testTime) + offsetof(SystemTime, wMonth));
        AddSeriesBars(list, head, d, day == todayDay && month == todayMonth);
    }

    SetColor(list, ColorFromRef(kLabelColor));
    for (unsigned v = 0; v <= 80; v += 20)
        Label(list, true, -3, v == 0 ? 0.0f : static_cast<float>(v) - 2, v);
    return list;
}

DrawList BuildVoltageHistogram(const ServiceHistory& history) {
    uint32_t counts[kHistogramShownClasses];
    uint32_t top = 1;
    for (int k = 0; k < kHistogramShownClasses; ++k) {
        counts[k] = history.voltageHistogram[k].load(std::memory_order_relaxed);
        if (counts[k] > top) top = counts[k];
    }
    const float m = static_cast<float>(top);

    DrawList list;
    list.Ortho(-1, 101, -0.2f * m, 1.05f * m, -1, 1);
    const DrawColor black = ColorFromRef(0);
    list.Clear(black.r, black.g, black.b);

    list.Begin(DrawOp::Kind::Lines);
    SetVertexColor(list, ColorFromRef(kAxisColor));
    list.Point(0, 0);
    list.Point(100, 0);
    SetVertexColor(list, ColorFromRef(kGridColor));
    for (int k = 0; k <= 10; ++k) {
        list.Point(10.0f * k, 0);
        list.Point(10.0f * k, m);
    }

    for (int k = 0; k < kHistogramShownClasses; ++k) {
        const float h = static_cast<float>(counts[k]);
        const float s = 0.2f * h / m;
        list.Color(0.3f + s, 0.5f + s, 0.3f + s);
        list.Begin(DrawOp::Kind::Polygon);
        list.Point(static_cast<float>(k), 0);
        list.Point(static_cast<float>(k), h);
        list.Point(k + 0.77f, h);
        list.Point(k + 0.77f, 0);
    }

    SetColor(list, ColorFromRef(kLabelColor));
    for (unsigned k = 0; k < 10; ++k) Label(list, false, 10.0f * k, 0, 10 * k);
    return list;
}
