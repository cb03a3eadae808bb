// The link's trace in log.log, when that file exists.
#include "link/trace.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"

namespace {

const char* const kTraceFile = "log.log";
bool g_truncatedThisRun = false;  // only the link worker traces

void WriteLine(const std::string& line) {
    platform::FileHandle file = platform::OpenExclusive(kTraceFile, platform::OpenMode::ReadWriteExisting);
    if (file == platform::kNoFile) return;
    if (!g_truncatedThisRun) {
        platform::SeekTo(file, 0);
        platform::TruncateHere(file);
        g_truncatedThisRun = true;
    }
    platform::SeekToEnd(file);
    uint32_t written = 0;
    platform::WriteFile(file, line.data(), static_cast<uint32_t>(line.size()), &written);
    platform::CloseFile(file);
}

}  // namespace

void TraceText(const char* text) {
    std::string line(text);
    line += '\n';
    WriteLine(line);
}

void TraceBytes(const uint8_t* bytes, uint32_t count, TraceDirection direction) {
    if (count == 0) return;
    static const char kHex[] = "0123456789ABCDEF";
    char head[32];
    std::snprintf(head, sizeof head, "%s[%u]: ", direction == TraceDirection::Sent ? "OUT" : "IN",
                  static_cast<unsigned>(count));
    std::string line(head);
    line.reserve(line.size() + 3 * static_cast<size_t>(count) + 1);
    for (uint32_t i = 0; i < count; ++i) {
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0x0F];
        line += ' ';
    }
    line += '\n';
    WriteLine(line);
}

void ResetTrace() { g_truncatedThisRun = false; }
