#pragma once
// The animated test-cell picture as data: the lift animation and one frame as
// a DrawList, computed from the instrument's status byte only.
#include <cstdint>

#include "common/draw_list.h"

// The picture's timer period, and how long the instrument's motor takes to
// lift the vessel into the cell: the picture's rise keeps pace with it, or it
// would still be low when the pre-test delay stops the motor.
constexpr unsigned kCellLiftTickMilliseconds = 90;
constexpr unsigned kInstrumentLiftMilliseconds = 5000;

// The vessel's height and swing direction; owned by the picture thread.
struct CellLift {
    float cellLift = 0.0f;
    bool liftRising = true;  // true at start, so a series already running rises at once
    bool reachedTop = false;  // in this measurement; from then on the motor only swings it
};

// One timer step: rise to 26 within the instrument's lift, then swing between
// 20 and 26 while measuring with the motor on, pinned at 26 under high
// voltage, sinking to 0 otherwise.
void StepCellLift(CellLift* lift, uint8_t status);

// Source of the display's shimmer: values 0..32767, like rand().
using PictureRandom = int (*)();

// The whole frame in drawing order, from the projection and the clear to the
// spark; tickCount decides the spark's blink (lit while bit 9 is set).
void BuildStatusPictureFrame(uint8_t status, float cellLift, uint32_t tickCount, PictureRandom random,
                             DrawList* out);
