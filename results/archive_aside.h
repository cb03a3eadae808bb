#pragma once
// "Удалить все" keeps the series: log.dat is moved aside under a dated name
// in the data folder and the archive starts again.
#include <cstddef>
#include <cstdint>

#include "platform/system_time.h"

constexpr size_t kArchiveAsideNameSize = 32;

// "log-YYYYMMDD-hhmmss.dat" for attempt 1, "log-YYYYMMDD-hhmmss-k.dat" for
// attempt k >= 2, the time being local.
void ArchiveAsideName(const SystemTime& at, int attempt, char* out, size_t size);

struct ArchiveAsideResult {
    bool moved;      // log.dat now lies under name
    bool noArchive;  // there was no log.dat: nothing moved
    uint32_t error;  // the system error code when neither
    char name[kArchiveAsideNameSize];
};

// Moves log.dat to the first of the names for at that is free, never
// replacing a file, and leaves an empty log.dat in its place. A busy log.dat (an append under way) is waited for a
// moment. On failure log.dat stays as it was.
ArchiveAsideResult ArchiveMoveAside(const SystemTime& at);
// Called after log.dat was moved aside, with the name it now has in the data
// folder, on the thread that moved it (the archive viewer's), in the order
// added; must not wait. Adding a hook twice adds it once.
void AddArchiveAsideHook(void (*hook)(const char* movedName));
