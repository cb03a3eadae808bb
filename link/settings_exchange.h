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
