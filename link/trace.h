#pragma once
#include <cstdint>

// Link trace into an existing log.log in the working folder.
enum class TraceDirection { Sent, Received };

void TraceText(const char* text);
void TraceBytes(const uint8_t* bytes, uint32_t count, TraceDirection direction);
