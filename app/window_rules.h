// The main window's rules that need no Windows: focus order, placement, sizes.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "app/resource_ids.h"
#include "common/placement.h"
#include "common/test_record.h"

// The main window's arithmetic, kept free of Windows so that it can be
// checked on its own.

constexpr int kFirstFormField = IDC_FIRST_FIELD;
constexpr int kLastFormField = IDC_LAST_FIELD;
constexpr int kFormFieldCount = kLastFormField - kFirstFormField + 1;
constexpr int kMinWindowWidth = 500;
constexpr int kMinWindowHeight = 525;
constexpr int kStatusBarHeight = 20;
constexpr int kServiceViewLeft = 500;

// The field that Tab moves to from the focused control, or 0 when the focus
// is not in the protocol form.
inline int NextFormField(int focusedId) {
    if (focusedId < kFirstFormField || focusedId > kLastFormField) return 0;
    return (focusedId - (kFirstFormField - 1)) % kFormFieldCount + kFirstFormField;
}

// The field that Shift+Tab moves back to, wrapping from the first to the last.
inline int PreviousFormField(int focusedId) {
    if (focusedId < kFirstFormField || focusedId > kLastFormField) return 0;
    return (focusedId - kFirstFormField + kFormFieldCount - 1) % kFormFieldCount + kFirstFormField;
}

// The least height: the template's, when its controls need more than
// minimum (kMinWindowHeight scaled to the screen) under the dialog font.
inline int MinWindowHeight(int templateHeight, int minimum = kMinWindowHeight) {
    return templateHeight > minimum ? templateHeight : minimum;
}

// The least width: minimum (kMinWindowWidth scaled to the screen), or more
// where the dialog font at the screen's DPI grows the form faster than the
// DPI, so that the test-cell picture at its right end (formRight, in client
// pixels) keeps its margin inside the window's frame.
inline int MinWindowWidth(int formRight, int frameWidth, int minimum = kMinWindowWidth, int margin = 8) {
    const int64_t need = int64_t{formRight} + margin + frameWidth;
    return need > minimum ? static_cast<int>(need < INT32_MAX ? need : INT32_MAX) : minimum;
}

// The main window's placement from the saved rectangle (PlaceWindow of
// common/placement.h), with the least sizes of a 96 DPI screen.
inline Placement PlaceWindow(Placement saved, int currentWidth, int currentHeight, int screenWidth, int screenHeight) {
    return PlaceWindow(saved, currentWidth, currentHeight, screenWidth, screenHeight, kMinWindowHeight,
                       kMinWindowWidth);
}

// Whether a key goes to the main window's accelerator table. Space is
// there to keep it from pressing ПУСК, СТОП or ПЕЧАТЬ; in a text field it is
// a blank like any other character. className is the target window's class.
inline bool KeyGoesToAccelerators(unsigned virtualKey, const char* className) {
    constexpr unsigned kSpaceKey = 0x20;
    if (virtualKey != kSpaceKey || !className) return true;
    auto same = [](const char* a, const char* b) {
        for (; *a && *b; ++a, ++b)
            if ((*a | 0x20) != (*b | 0x20)) return false;
        return *a == *b;
    };
    return !same(className, "edit") && !same(className, "richedit") && !same(className, "richedit20a") &&
           !same(className, "richedit20w");
}

// Left edge of the service view: 500 pixels (leftmost, scaled to the
// screen), as the form ends short of that with the dialog font of Windows;
// where a wider font makes the form (its group boxes and the picture beside
// them) reach further, just right of it, so the view never covers a field.
inline int ServiceViewLeft(int formRight, int leftmost = kServiceViewLeft, int gap = 4) {
    if (formRight > INT32_MAX - gap) return INT32_MAX;  // saturates rather than wraps
    return formRight + gap > leftmost ? formRight + gap : leftmost;
}

// A form field stretches to 10 pixels (margin, scaled to the screen) short
// of the client's right edge.
inline int StretchedFieldWidth(int clientWidth, int fieldLeft, int margin = 10) {
    return clientWidth - fieldLeft - margin;
}

// Fills bytes 1..255 of every protocol text slot with the low bytes of
// successive rand() values; byte 0 stays 0, so each text starts out empty.
inline void FillProtocolSlots(TestRecord& record, uint32_t seed) {
    std::srand(seed);
    for (auto& slot : record.protocolText) {
        slot[0] = 0;
        for (int i = 1; i < kProtocolTextSize; ++i) slot[i] = static_cast<char>(std::rand() & 0xFF);
    }
}
