#include "sim/sim_journal.h"

#include <cstdio>

namespace {

// A program polls ten times a second; a day's run would otherwise keep
// hundreds of megabytes. The file keeps everything.
constexpr size_t kMemoryLimit = 200000;

std::vector<SimJournalEntry> g_entries;
std::FILE* g_file = nullptr;

}  // namespace

void JournalStart(const std::string& path) {
    g_entries.clear();
    if (g_file) std::fclose(g_file);
    g_file = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
}

std::string JournalLine(const SimJournalEntry& e) {
    std::string line = std::to_string(e.ms) + (e.write ? " W" : " R");
    static const char kHex[] = "0123456789ABCDEF";
    for (uint8_t b : e.bytes) {
        line += ' ';
        line += kHex[b >> 4];
        line += kHex[b & 15];
    }
    return line;
}

void JournalAdd(uint32_t ms, bool write, const uint8_t* bytes, size_t count) {
    SimJournalEntry e{ms, write, std::vector<uint8_t>(bytes, bytes + count)};
    if (g_file) {
        std::string line = JournalLine(e) + "\n";
        std::fwrite(line.data(), 1, line.size(), g_file);
        std::fflush(g_file);
    }
    if (g_entries.size() < kMemoryLimit) g_entries.push_back(std::move(e));
}

const std::vector<SimJournalEntry>& JournalEntries() { return g_entries; }
