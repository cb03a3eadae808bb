#pragma once
// Where the service view puts its series graph, histogram and list for a
// client area of width × height pixels.

struct ServiceViewPlace {
    int id;
    int x, y, width, height;
};

constexpr int kServiceViewPlaces = 3;

// Graph 660 and histogram 661 in fixed bands, the list 601 below them taking
// the rest of the height (none when the view is shorter than the bands).
void LayOutServiceView(int width, int height, ServiceViewPlace (&places)[kServiceViewPlaces]);
