#pragma once
// The traffic journal: kept in memory for tests and, when a path is given,
// written line by line for tests that watch a running program.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim.h"

void JournalStart(const std::string& path);
void JournalAdd(uint32_t ms, bool write, const uint8_t* bytes, size_t count);
const std::vector<SimJournalEntry>& JournalEntries();
// "<ms> W|R <hex bytes>" as written to the file, without the line end.
std::string JournalLine(const SimJournalEntry& entry);
