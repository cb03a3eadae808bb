#pragma once
// Writing the operator's desired settings into the instrument.
#include <cstdint>

// Sends one command, waits 50 ms, reads what came and parses it (an empty
// read changes nothing). The worker's way of pressing a key and looking.
void ExchangeStep(uint8_t code);

// Writes desiredSettings to the instrument: generation 1 by stepping through
// its own menu until each item reads back as desired (or its press limit is
// spent), generation 2 with one settings frame. No answer is awaited; the
// next settings poll shows the outcome. Called by the worker only, after it
// found IzmerMode clear.
void ChangeDeviceSettings();

enum class SettingsChangeOutcome {
    Changed,    // the instrument reads back what was desired
    Unchanged,  // it reads back what it had before
    Partly,     // some items new, some old (generation 1, item by item)
};
// The worker's service of one request: ChangeDeviceSettings, again while a
// link fault cut a menu walk short or a frame is not read back (three passes
// at most), then what the instrument reads back compared with the wish and
// with before. Only the items the dialogs set are compared.
SettingsChangeOutcome ChangeDeviceSettingsChecked();
