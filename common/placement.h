// Where a window goes on the screen, kept free of Windows so that it can be checked on its own.
#pragma once
#include <cstdint>

struct Placement {
    int x, y, width, height;
};

// Top-left corner of a window of width x height centred on its owner's
// rectangle, then moved back onto the screen: the main window starts in the
// screen's corner, and a wider dialog centred on it would otherwise open with
// its left part, buttons included, beyond the edge.
inline Placement CentreOnOwner(Placement owner, int width, int height, int screenWidth, int screenHeight) {
    // In 64 bits: the owner's rectangle may hold whatever the INI file said.
    auto place = [](int64_t ownerStart, int64_t ownerSize, int64_t size, int64_t screen) {
        int64_t at = (ownerStart + ownerStart + ownerSize) / 2 - size / 2;
        if (at + size > screen) at = screen - size;
        if (at < 0) at = 0;
        return static_cast<int>(at);  // now within [0, screen]
    };
    return Placement{place(owner.x, owner.width, width, screenWidth), place(owner.y, owner.height, height, screenHeight),
                     width, height};
}
