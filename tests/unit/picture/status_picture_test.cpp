// The test-cell picture's lift animation, colour values and computed frames.
#include <gtest/gtest.h>

#include <cmath>

#include "link/device_state.h"
#include "common/color.h"
#include "picture/status_picture_frame.h"

namespace {

using namespace status_bits;
constexpr uint8_t kRunning = kIzmerMode | kMotorOn;

// Ticks until the predicate holds, at most limit.
template <typename Done>
int TicksUntil(CellLift* lift, uint8_t status, int limit, Done done) {
    for (int n = 1; n <= limit; ++n) {
        StepCellLift(lift, status);
        if (done(*lift)) return n;
    }
    return -1;
}

TEST(CellLift, RisesWithinTheInstrumentsLiftThenSwingsThirtyTicksEachWay) {
    const int liftTicks = int(kInstrumentLiftMilliseconds / kCellLiftTickMilliseconds);
    struct Case {
        bool idleFirst;  // an idle tick clears the rising direction
        float firstStep;
    } cases[] = {
        {true, -0.2f},         // from rest: one step down, then the turn
        {false, 26.0f / 55.5f},  // at program start a running series rises at once
    };
    for (const Case& c : cases) {
        CellLift lift;
        if (c.idleFirst) StepCellLift(&lift, 0);
        StepCellLift(&lift, kRunning);
        EXPECT_NEAR(lift.cellLift, c.firstStep, 1e-3) << c.idleFirst;
        EXPECT_TRUE(lift.liftRising);
        // At the top while the instrument is still lifting, not when high voltage pins it.
        int ticks = TicksUntil(&lift, kRunning, 500, [](const CellLift& l) { return !l.liftRising; });
        EXPECT_NEAR(ticks, liftTicks, 2) << c.idleFirst;
        EXPECT_GE(lift.cellLift, 26.0f);
        EXPECT_LE(lift.cellLift, 26.0f + 26.0f / 55.5f);
        for (bool rising : {true, false, true}) {
            ticks = TicksUntil(&lift, kRunning, 500, [rising](const CellLift& l) { return l.liftRising == rising; });
            EXPECT_NEAR(ticks, 30.5, 1.5) << c.idleFirst;
            EXPECT_NEAR(lift.cellLift, rising ? 20.0f : 26.0f, 0.5f);
        }
    }
}

TEST(CellLift, SinksToZeroAfterTheSeriesAndClamps) {
    CellLift lift{26.0f, false};
    int ticks = TicksUntil(&lift, 0, 500, [](const CellLift& l) { return l.cellLift <= 0; });
    EXPECT_NEAR(ticks, 130, 1);
    EXPECT_EQ(lift.cellLift, 0.0f);  // never below
    for (int n = 0; n < 5; ++n) StepCellLift(&lift, kHightVoltOn);  // high voltage outside a series
    EXPECT_EQ(lift.cellLift, 0.0f);
}

TEST(CellLift, HighVoltagePinsAtTopAndStillMeasurementHolds) {
    struct Case {
        uint8_t status;
        float start, expected;
        bool rising;
    } cases[] = {
        {kRunning | kHightVoltOn, 21.0f, 26.0f, false},
        {kIzmerMode | kHightVoltOn, 3.0f, 26.0f, false},
        {kIzmerMode, 23.4f, 23.4f, true},  // motor and high voltage off: stays
    };
    for (const Case& c : cases) {
        CellLift lift{c.start, true};
        for (int n = 0; n < 10; ++n) StepCellLift(&lift, c.status);
        EXPECT_NEAR(lift.cellLift, c.expected, 1e-4) << int(c.status);
        EXPECT_EQ(lift.liftRising, c.rising) << int(c.status);
    }
}

TEST(ColorValue, ChannelsAreBytesTimesOneOver256RedLow) {
    struct Case {
        uint32_t ref;
        float r, g, b;
    } cases[] = {
        {0xFFFFFF, 0.99609375f, 0.99609375f, 0.99609375f},
        {0xA300, 0, 0.63671875f, 0},
        {0x4080, 0.5f, 0.25f, 0},
        {0xFF000000u, 0, 0, 0},  // the top byte is ignored
    };
    for (const Case& c : cases) {
        DrawColor got = ColorFromRef(c.ref);
        EXPECT_EQ(got.r, c.r);
        EXPECT_EQ(got.g, c.g);
        EXPECT_EQ(got.b, c.b);
    }
}

int g_randomValue = 0;
int FixedRandom() { return g_randomValue; }

DrawList Frame(uint8_t status, float lift, uint32_t tick) {
    DrawList list;
    BuildStatusPictureFrame(status, lift, tick, FixedRandom, &list);
    return list;
}

const DrawPoint& FirstPoint(const DrawList& list, const DrawOp& op) { return list.points[op.first]; }

bool IsColor(const DrawColor& c, float r, float g, float b) {
    return std::abs(c.r - r) < 1e-4 && std::abs(c.g - g) < 1e-4 && std::abs(c.b - b) < 1e-4;
}

// Index of the first op of the kind starting at (x, y), or -1.
int FindOp(const DrawList& list, DrawOp::Kind kind, float x, float y) {
    for (size_t i = 0; i < list.ops.size(); ++i) {
        const DrawOp& op = list.ops[i];
        if (op.kind == kind && op.count > 0 && std::abs(FirstPoint(list, op).x - x) < 1e-3f &&
            std::abs(FirstPoint(list, op).y - y) < 1e-3f)
            return static_cast<int>(i);
    }
    return -1;
}

int CountRedTriangles(const DrawList& list) {
    int n = 0;
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawOp::Kind::Triangle && IsColor(FirstPoint(list, op).color, 1, 0, 0)) ++n;
    return n;
}

TEST(StatusPictureFrame, VesselTopFollowsTheLift) {
    CellLift lift;
    StepCellLift(&lift, 0);
    TicksUntil(&lift, kRunning, 500, [](const CellLift& l) { return l.cellLift > 20.0f; });
    StepCellLift(&lift, kRunning | kHightVoltOn);  // pinned at the top
    for (float cellLift : {0.0f, lift.cellLift}) {
        DrawList list = Frame(kRunning, cellLift, 0);
        // The vessel's top edge is its first grey outline line, x - 25 .. x + 25.
        int top = FindOp(list, DrawOp::Kind::Lines, 35, 60 + cellLift);
        ASSERT_GE(top, 0) << cellLift;
        EXPECT_TRUE(IsColor(FirstPoint(list, list.ops[top]).color, 0.8f, 0.8f, 0.8f));
    }
    EXPECT_GE(FindOp(Frame(kRunning, lift.cellLift, 0), DrawOp::Kind::Lines, 35, 86), 0);
}

TEST(StatusPictureFrame, SparkOnlyUnderHighVoltageWhileTickBit9IsSet) {
    struct Case {
        uint8_t status;
        uint32_t tick;
        int redTriangles;
    } cases[] = {
        {kIzmerMode | kHightVoltOn, 0x200, 3},
        {kHightVoltOn, 0x3FF, 3},  // outside a series it still blinks
        {kIzmerMode | kHightVoltOn, 0x1FF, 0},
        {kRunning, 0x200, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CountRedTriangles(Frame(c.status, 26, c.tick)), c.redTriangles);
}

TEST(StatusPictureFrame, LampAfterThePanelRedUnderHighVoltage) {
    for (uint8_t status : {uint8_t(0), kHightVoltOn}) {
        DrawList list = Frame(status, 0, 0);
        int lamp = FindOp(list, DrawOp::Kind::Polygon, 158, 94);
        int panel = FindOp(list, DrawOp::Kind::Quad, 120, 15);
        ASSERT_GE(lamp, 0);
        EXPECT_GT(lamp, panel);
        const DrawColor& c = FirstPoint(list, list.ops[lamp]).color;
        if (status) EXPECT_TRUE(IsColor(c, 1, 0, 0));
        else EXPECT_TRUE(IsColor(c, 0.77f, 0.4f, 0.4f));
    }
}

TEST(StatusPictureFrame, DisplayDotsStayInsideTheDisplay) {
    for (int value : {0, 32767}) {
        g_randomValue = value;
        DrawList list = Frame(0, 0, 0);
        float x = value ? 163 : 127, y = value ? 83 : 72;
        int dots = 0;
        for (const DrawOp& op : list.ops)
            if (op.kind == DrawOp::Kind::Quad && FirstPoint(list, op).x == x && FirstPoint(list, op).y == y &&
                IsColor(FirstPoint(list, op).color, 0, 0xA3 / 256.0f, 0))
                ++dots;
        EXPECT_EQ(dots, 140);
    }
    g_randomValue = 0;
}

TEST(StatusPictureFrame, NamePlateStrokesStayInTheirBand) {
    DrawList list = Frame(0, 0, 0);
    int underline = FindOp(list, DrawOp::Kind::Lines, 127, 19.5f);
    int display = FindOp(list, DrawOp::Kind::Quad, 125, 70);
    ASSERT_GT(underline, 0);
    ASSERT_GT(display, underline);
    int strips = 0;
    float left = 1e9f, right = -1e9f;
    for (int i = underline + 1; i < display; ++i) {
        const DrawOp& op = list.ops[i];
        if (op.kind != DrawOp::Kind::LineStrip) continue;
        ++strips;
        for (uint32_t p = op.first; p < op.first + op.count; ++p) {
            const DrawPoint& point = list.points[p];
            EXPECT_TRUE(point.y >= 21 && point.y <= 26) << point.y;
            EXPECT_TRUE(IsColor(point.color, 0.25f, 0.25f, 0.25f));
            left = std::fmin(left, point.x);
            right = std::fmax(right, point.x);
        }
    }
    EXPECT_GE(strips, 12);  // every one of the twelve characters drawn
    EXPECT_NEAR(left, 127, 0.01);
    EXPECT_NEAR(right, 152, 1.0);
}

TEST(StatusPictureFrame, FrameOpensWithProjectionAndClear) {
    DrawList list = Frame(0, 0, 0);
    ASSERT_GE(list.ops.size(), 2u);
    EXPECT_EQ(list.ops[0].kind, DrawOp::Kind::Ortho);
    EXPECT_EQ(list.ops[0].values[1], 181.0f);
    EXPECT_EQ(list.ops[1].kind, DrawOp::Kind::Clear);
    EXPECT_EQ(list.ops[1].values[0], 0xDE / 256.0f);
    // Blending is switched on for the vessel only and off again.
    EXPECT_EQ(list.ops.back().kind, DrawOp::Kind::Blend);
    EXPECT_EQ(list.ops.back().values[0], 0.0f);
}

}  // namespace
