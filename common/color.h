#pragma once
// Colour values of the drawn windows: 0x00BBGGRR (the COLORREF layout); each
// channel byte becomes an intensity by multiplying it by 1/256, so 0xFF is
// 0.99609375, never quite 1.
#include <cstdint>

#include "common/draw_list.h"

inline DrawColor ColorFromRef(uint32_t color) {
    constexpr float kStep = 1.0f / 256.0f;
    return {(color & 0xFF) * kStep, ((color >> 8) & 0xFF) * kStep, ((color >> 16) & 0xFF) * kStep, 1.0f};
}
