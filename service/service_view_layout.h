// Where the service view puts its series graph, histogram and list for a
// client area of width × height pixels.
#pragma once

struct ServiceViewPlace {
    int id;
    int x, y, width, height;
};

constexpr int kServiceViewPlaces = 3;

// Graph 660 and histogram 661 in fixed bands, the list 601 below them taking
// the rest of the height (none when the view is shorter than the bands). The
// bands are chosen for a 96 DPI screen and scaled to dpi, as the dialog's own
// controls above them grow with the screen's dialog font.
void LayOutServiceView(int width, int height, int dpi, ServiceViewPlace (&places)[kServiceViewPlaces]);
