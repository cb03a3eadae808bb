#pragma once
// The link's trace in log.log, when that file exists.
#include <cstdint>

// Link trace: lines of text in log.log in the working folder, written only
// when that file already exists. The first line of a run empties it.
enum class TraceDirection { Sent, Received };

void TraceText(const char* text);
// "OUT[n]: " or "IN[n]: " and every byte as two hex digits and a blank.
void TraceBytes(const uint8_t* bytes, uint32_t count, TraceDirection direction);
// A new run: the next line empties the file again.
void ResetTrace();
