// The screen's DPI, and the program's 96-DPI pixel sizes scaled to it.
#pragma once
#include <windows.h>

#include "platform/screen_scale.h"

namespace platform {

// LOGPIXELSX of the screen. The manifest makes the program DPI aware
// ("system"), so this is the DPI of the user's session, which does not change
// while the program runs: it is read once.
inline int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDesignDpi;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : kDesignDpi;
    }();
    return dpi;
}

inline int Scaled(int pixels) { return ScaleToDpi(pixels, ScreenDpi()); }

}  // namespace platform
