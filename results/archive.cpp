#include "results/archive.h"

// Placeholder until the archive lands.
bool ArchiveAppend(TestRecord&) { return true; }
uint16_t ArchiveCrc16(const uint8_t*, size_t) { return 0xFFFF; }
void ArchiveScramble(uint8_t*, size_t) {}
void ArchiveVote(uint8_t*) {}
