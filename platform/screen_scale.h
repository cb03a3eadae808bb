// Pixel sizes chosen on a 96 DPI screen, scaled to the screen the program runs on.
#pragma once

namespace platform {

// The screen every pixel size in the program was chosen on (100 %).
constexpr int kDesignDpi = 96;

// pixels * dpi / 96, rounded half away from zero as MulDiv rounds; a dpi of
// 0 or less (no screen to ask) leaves the size as it is.
constexpr int ScaleToDpi(int pixels, int dpi) {
    if (dpi <= 0) return pixels;
    const long long product = static_cast<long long>(pixels) * dpi;
    const long long half = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi));
}

}  // namespace platform
