#include "link/trace.h"

// Stand-ins: the trace file is not written yet.
void TraceText(const char*) {}
void TraceBytes(const uint8_t*, uint32_t, TraceDirection) {}
