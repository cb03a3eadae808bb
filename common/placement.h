// Placing a window on the screen and a dialog over its owner, without Windows.
#pragma once
#include <cstdint>

// A window's rectangle: its top-left corner and its size, in screen pixels.
struct Placement {
    int x, y, width, height;
};

// Turns the saved rectangle into one that lies on the screen. currentWidth
// and currentHeight are the window's size from its template; minHeight and
// minWidth are its least size on this screen.
inline Placement PlaceWindow(Placement saved, int currentWidth, int currentHeight, int screenWidth,
                             int screenHeight, int minHeight, int minWidth) {
    Placement p = saved;
    if (p.x < 0) p.x = 0;
    if (p.y < 0) p.y = 0;
    if (p.width < minWidth) p.width = minWidth;
    if (p.height < minHeight) p.height = minHeight;
    // 64-bit sums: the saved corner comes from the INI file and may be anything.
    if (int64_t{currentWidth} + p.x > screenWidth) p.x = 0;
    if (int64_t{currentHeight} + p.y > screenHeight) p.y = 0;
    if (p.width > screenWidth) p.width = minWidth;
    if (p.height > screenHeight) p.height = minHeight;
    return p;
}

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
