#pragma once
// Where the device-results viewer puts its list and its progress bar, kept
// free of Windows so that it can be checked on its own.

struct ViewerBox {
    int x, y, width, height;
};

// A minimised window has an empty client area; no size goes below zero.
inline int NotNegative(int n) { return n > 0 ? n : 0; }

// The list fills the client area from its own position down: the width
// leaves the client's left margin on both sides; above it lies the button row.
inline ViewerBox DeviceResultsListBox(int clientLeft, int clientTop, int clientRight, int clientBottom, int listX,
                                      int listY) {
    return {listX, listY, NotNegative(clientRight - 2 * clientLeft), NotNegative(clientBottom - (listY > clientTop ? listY : clientTop))};
}

// The progress bar lies across the middle, a pixel short of the right edge,
// at its own height.
inline ViewerBox DeviceResultsProgressBox(int clientLeft, int clientTop, int clientRight, int clientBottom,
                                          int barHeight) {
    return {0, clientTop + (clientBottom - clientTop) / 2, NotNegative(clientRight - clientLeft - 2), barHeight};
}
