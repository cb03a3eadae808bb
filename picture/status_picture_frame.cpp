// The test-cell picture's animation step and frame, in picture units
// (x 0..180, y 0..120); the OpenGL side only replays the list.
#include "picture/status_picture_frame.h"

#include <cmath>
#include <cstdlib>

#include "link/device_state.h"
#include "common/color.h"

namespace {

constexpr float kLiftStep = 0.2f;  // the swing and the fall
constexpr float kLiftTop = 26.0f;
constexpr float kSwingBottom = 20.0f;
constexpr float kRiseStep = kLiftTop * kCellLiftTickMilliseconds / kInstrumentLiftMilliseconds;

void SetColor(DrawList* list, float r, float g, float b, float a = 1.0f) { list->Color(r, g, b, a); }
void SetColorRef(DrawList* list, uint32_t color) {
    DrawColor c = ColorFromRef(color);
    list->Color(c.r, c.g, c.b, 1.0f);
}

void OutlinedRect(DrawList* list, float x, float y, float w, float h) {
    list->Begin(DrawOp::Kind::LineStrip);
    list->Point(x, y);
    list->Point(x + w, y);
    list->Point(x + w, y + h);
    list->Point(x, y + h);
    list->Point(x, y);
}

void FilledRect(DrawList* list, float x, float y, float w, float h) {
    list->Begin(DrawOp::Kind::Quad);
    list->Point(x, y);
    list->Point(x + w, y);
    list->Point(x + w, y + h);
    list->Point(x, y + h);
}

void Line(DrawList* list, float x1, float y1, float x2, float y2) {
    list->Begin(DrawOp::Kind::Lines);
    list->Point(x1, y1);
    list->Point(x2, y2);
}

void FilledTriangle(DrawList* list, float x, float y, float w, float h) {
    list->Begin(DrawOp::Kind::Triangle);
    list->Point(x, y);
    list->Point(x + w, y);
    list->Point(x + w / 2, y + h);
}

void Triangle(DrawList* list, float x1, float y1, float x2, float y2, float x3, float y3) {
    list->Begin(DrawOp::Kind::Triangle);
    list->Point(x1, y1);
    list->Point(x2, y2);
    list->Point(x3, y3);
}

void DrawPanelKey(DrawList* list, float x, float y, int kind) {
    constexpr float kW = 12.5f, kH = 6.0f;
    switch (kind) {
        case 0: SetColor(list, 0, 0.6f, 0); break;      // start key
        case 3: SetColor(list, 0.75f, 0, 0); break;     // stop key
        default: SetColor(list, 0.96f, 0.96f, 0.96f); break;
    }
    FilledRect(list, x, y, kW, kH);
    if (kind == 1 || kind == 2) {
        SetColor(list, 0.25f, 0.25f, 0.25f);
        if (kind == 1) FilledTriangle(list, x + 2, y + 5, 8.5f, -4);  // arrow down
        else FilledTriangle(list, x + 2, y + 1, 8.5f, 4);             // arrow up
    }
    SetColor(list, 0.1f, 0.1f, 0.1f);
    OutlinedRect(list, x, y, kW, kH);
}

// d = +1: the left electrode, head towards +x; -1 the right one.
void DrawElectrode(DrawList* list, float x, float y, float d) {
    for (int i = -5; i <= 5; ++i) {
        float g = 0.8f - std::abs(i) / 40.0f;
        SetColor(list, g, g, g);
        FilledRect(list, x + i, y, 1, 20);
    }
    SetColorRef(list, 0x4080);
    FilledRect(list, x, y - 12, 2, 12);
    FilledRect(list, x, y - 12, -2, 12);
    FilledRect(list, x - 2 * d, y - 12, 10 * d, 1);
    FilledRect(list, x - 2 * d, y - 12, 10 * d, -1);
    static const float kHalfHeight[6] = {4, 6, 6, 5, 4, 3};
    for (int i = 0; i <= 5; ++i) {
        SetColor(list, 0.6f + i / 40.0f, 0.4f + i / 40.0f, 0.4f + i / 400.0f);
        FilledRect(list, x + d * (6 + i), y - 12, 1, kHalfHeight[i]);
        FilledRect(list, x + d * (6 + i), y - 12, 1, -kHalfHeight[i]);
    }
}

// (x, y) is the top centre of the vessel.
void DrawTestCell(DrawList* list, float x, float y) {
    list->Blend(true);
    for (int i = 0; i <= 24; ++i) {
        float t = i >= 15 ? (i - 15) / 40.0f : 0.0f;
        float bandAlpha = i >= 15 ? std::fmin(1.0f, 0.7f + (i - 15) / 10.0f) : 0.7f;
        for (int side = 0; side < (i > 0 ? 2 : 1); ++side) {
            float cx = side == 0 ? x + i : x - i;
            SetColor(list, 0.9f - t, 0.9f - t, 0.3f - t, 0.7f - t);
            FilledRect(list, cx, y - 10, 1, -20);
        }
        for (int side = 0; side < (i > 0 ? 2 : 1); ++side) {
            float cx = side == 0 ? x + i : x - i;
            SetColor(list, 0.7f, 0.7f, 0.7f, bandAlpha);
            FilledRect(list, cx, y, 1, -10);
        }
    }
    SetColor(list, 0.1f, 0.1f, 0.1f, 1);
    FilledRect(list, x, y - 40, 40, 10);
    FilledRect(list, x, y - 40, -40, 10);
    SetColor(list, 1, 1, 1, 0.9f);
    Line(list, x - 15, y - 2, x - 15, y - 28);
    Line(list, x + 15, y - 2, x + 15, y - 28);
    SetColor(list, 0.8f, 0.8f, 0.8f, 1);
    Line(list, x - 25, y, x + 25, y);
    Line(list, x - 25, y - 30, x + 25, y - 30);
    Line(list, x - 25, y - 30, x - 25, y);
    Line(list, x + 25, y - 30, x + 25, y);
    list->Blend(false);
}

void DrawSpark(DrawList* list, float x, float y) {
    Triangle(list, x + 2, y, x + 9, y + 12, x + 5.5f, y + 12);
    Triangle(list, x + 9, y + 12, x + 2, y + 12.5f, x, y + 10);
    Triangle(list, x + 9, y + 21, x + 4, y + 21, x, y + 10);
}

// Stroked capitals of the name plate: each a few line strips in a unit cell
// (u across, v up); kEnd closes a strip, kDone the glyph.
struct PlateGlyph {
    char code;  // Windows-1251
    float strokes[28];
};
constexpr float kEnd = -1.0f;
constexpr float kDone = -2.0f;
const PlateGlyph kPlateGlyphs[] = {
    {'\xCE', {0.2f, 0, 0.8f, 0, 1, 0.2f, 1, 0.8f, 0.8f, 1, 0.2f, 1, 0, 0.8f, 0, 0.2f, 0.2f, 0, kEnd, kDone}},  // О
    {'\xD0', {0, 0, 0, 1, 0.8f, 1, 1, 0.85f, 1, 0.6f, 0.8f, 0.45f, 0, 0.45f, kEnd, kDone}},                  // Р
    {'\xCB', {0, 0, 0.2f, 0.15f, 0.35f, 1, 1, 1, 1, 0, kEnd, kDone}},                                          // Л
    {'\xC0', {0, 0, 0.5f, 1, 1, 0, kEnd, 0.25f, 0.45f, 0.75f, 0.45f, kEnd, kDone}},                            // А
    {'-', {0.1f, 0.4f, 0.9f, 0.4f, kEnd, kDone}},
    {'\xCA', {0, 0, 0, 1, kEnd, 1, 1, 0, 0.5f, 1, 0, kEnd, kDone}},                                            // К
    {'2', {0, 0.8f, 0.2f, 1, 0.8f, 1, 1, 0.8f, 1, 0.6f, 0, 0, 1, 0, kEnd, kDone}},
    {'0', {0.2f, 0, 0.8f, 0, 1, 0.2f, 1, 0.8f, 0.8f, 1, 0.2f, 1, 0, 0.8f, 0, 0.2f, 0.2f, 0, kEnd, 0.25f, 0.2f, 0.75f, 0.8f, kEnd, kDone}},
    {'1', {0.2f, 0.75f, 0.6f, 1, 0.6f, 0, kEnd, 0.2f, 0, 1, 0, kEnd, kDone}},
};

void DrawPlateText(DrawList* list, const char* text, float x, float baseline) {
    constexpr float kCellWidth = 1.8f, kPitch = 2.15f, kHeight = 5.0f;
    for (; *text; ++text, x += kPitch) {
        for (const PlateGlyph& glyph : kPlateGlyphs) {
            if (glyph.code != *text) continue;
            const float* s = glyph.strokes;
            while (*s != kDone) {
                list->Begin(DrawOp::Kind::LineStrip);
                for (; *s != kEnd; s += 2) list->Point(x + s[0] * kCellWidth, baseline + s[1] * kHeight);
                ++s;  // the strip's end mark
            }
        }
    }
}

}  // namespace

void StepCellLift(CellLift* lift, uint8_t status) {
    if (status & status_bits::kIzmerMode) {
        if (status & status_bits::kMotorOn) {
            if (lift->liftRising) {
                lift->cellLift += lift->reachedTop ? kLiftStep : kRiseStep;
                if (lift->cellLift >= kLiftTop) {
                    lift->liftRising = false;
                    lift->reachedTop = true;
                }
            } else {
                lift->cellLift -= kLiftStep;
                if (lift->cellLift <= kSwingBottom) lift->liftRising = true;
            }
        }
        if (status & status_bits::kHightVoltOn) {
            lift->cellLift = kLiftTop;
            lift->liftRising = false;
            lift->reachedTop = true;
        }
    } else {
        if (lift->cellLift > 0) lift->cellLift -= kLiftStep;
        if (lift->cellLift < 0) lift->cellLift = 0;
        lift->liftRising = false;
        lift->reachedTop = false;
    }
}

void BuildStatusPictureFrame(uint8_t status, float cellLift, uint32_t tickCount, PictureRandom random,
                             DrawList* out) {
    DrawList& list = *out;
    // Cleared rather than replaced: the vectors keep their room from frame to frame.
    list.ops.clear();
    list.points.clear();
    list.texts.clear();
    list.Ortho(-1, 181, -1, 121, -2, 2);
    DrawColor clear = ColorFromRef(0xDEDEDE);
    list.Clear(clear.r, clear.g, clear.b);

    SetColorRef(&list, 0);
    OutlinedRect(&list, 0, 0, 180, 120);  // the picture's frame
    OutlinedRect(&list, 15, 15, 90, 90);  // the chamber's double wall
    OutlinedRect(&list, 20, 20, 80, 80);
    SetColorRef(&list, 0x808080);
    FilledRect(&list, 21, 21, 79, 78);

    SetColorRef(&list, 0xC19E7D);
    FilledRect(&list, 120, 15, 50, 90);  // front panel
    SetColorRef(&list, 0x404040);
    OutlinedRect(&list, 120, 15, 50, 90);
    OutlinedRect(&list, 125, 48, 40, 20);

    // The high-voltage lamp comes after the panel: drawn before it, the
    // panel's fill would hide it whatever its state.
    SetColorRef(&list, 0x00E2E2);
    list.Begin(DrawOp::Kind::Lines);
    for (float y : {92.0f, 92.5f}) {
        list.Point(154, y);
        list.Point(167, y);
    }
    for (float y : {95.0f, 94.5f}) {
        list.Point(160, y);
        list.Point(167, y);
    }
    if (status & status_bits::kHightVoltOn) SetColor(&list, 1, 0, 0);
    else SetColor(&list, 0.77f, 0.4f, 0.4f);
    list.Begin(DrawOp::Kind::Polygon);
    list.Point(158, 94);
    list.Point(159, 95);
    list.Point(158, 96);
    list.Point(157, 95);

    static const float kKeys[6][2] = {{127.5f, 40}, {127.5f, 50}, {127.5f, 60}, {150, 40}, {150, 50}, {150, 60}};
    for (int kind = 0; kind < 6; ++kind) DrawPanelKey(&list, kKeys[kind][0], kKeys[kind][1], kind);

    SetColor(&list, 0.25f, 0.25f, 0.25f);
    list.Begin(DrawOp::Kind::Lines);
    for (float y : {19.5f, 20.0f, 20.5f}) {
        list.Point(127, y);
        list.Point(165, y);
    }
    DrawPlateText(&list, "ОРЛА-К200-12", 127, 21);

    SetColorRef(&list, 0x14B414);
    FilledRect(&list, 125, 70, 40, 15);
    SetColorRef(&list, 0xA300);
    for (int dot = 0; dot < 140; ++dot) {
        int r1 = random();
        int r2 = random();
        FilledRect(&list, 127 + 36 * r2 / 32767, 72 + 11 * r1 / 32767, 1, 1);
    }

    DrawElectrode(&list, 45, 79, +1);
    DrawElectrode(&list, 75, 79, -1);
    DrawTestCell(&list, 60, 60 + cellLift);
    if ((status & status_bits::kHightVoltOn) && (tickCount & 0x200)) {
        SetColor(&list, 1, 0, 0);
        DrawSpark(&list, 57, 64);
    }
}
