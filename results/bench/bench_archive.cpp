// Archive benchmark: writes series with the program's own writer and times
// loading them back, on the real file system of the build machine.
//   bench_archive write N [judged]
//                            appends N series to ./log.dat; judged: each with a
//                            stored conclusion, as the program writes them now
//   bench_archive load       loads ./log.dat, prints time per series and peak memory
//   bench_archive source N SOURCE YYYY-MM-DD DAYS [MIN_KV [GOOD_KV]]
//                            appends N series of one sample source (bytes as given,
//                            Windows-1251 for the program), the first on that day,
//                            then one every DAYS days, each mean 1 kV below the last;
//                            MIN_KV [GOOD_KV] judge each by ГОСТ against that norm
#include <errno.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_loader.h"
#include "verdict/verdict.h"

// ---- the few platform calls the archive makes, over POSIX
namespace platform {
FileHandle OpenExclusive(const char* path, OpenMode mode, uint32_t* systemError) {
    int flags = O_RDWR | ((mode == OpenMode::ReadWriteAlways || mode == OpenMode::WriteAlways) ? O_CREAT : 0);
    int fd = open(path, flags, 0644);
    if (systemError) *systemError = fd < 0 ? kErrorFileNotFound : 0;
    return fd < 0 ? kNoFile : fd;
}
bool FileSize(FileHandle f, uint64_t* size) {
    struct stat st;
    if (fstat(static_cast<int>(f), &st) != 0) return false;
    *size = static_cast<uint64_t>(st.st_size);
    return true;
}
bool SeekTo(FileHandle f, uint64_t p) { return lseek(static_cast<int>(f), static_cast<off_t>(p), SEEK_SET) >= 0; }
bool SeekToEnd(FileHandle f) { return lseek(static_cast<int>(f), 0, SEEK_END) >= 0; }
bool ReadFile(FileHandle f, void* buffer, uint32_t count, uint32_t* got) {
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = read(static_cast<int>(f), static_cast<char*>(buffer) + done, count - done);
        if (n <= 0) break;
        done += static_cast<uint32_t>(n);
    }
    *got = done;
    return true;
}
bool WriteFile(FileHandle f, const void* buffer, uint32_t count, uint32_t* written, uint32_t* systemError) {
    ssize_t n = write(static_cast<int>(f), buffer, count);
    *written = n < 0 ? 0 : static_cast<uint32_t>(n);
    if (n < 0 && systemError) *systemError = errno == ENOSPC ? kErrorDiskFull : kErrorAccessDenied;
    return n >= 0;
}
bool TruncateHere(FileHandle f) {
    off_t at = lseek(static_cast<int>(f), 0, SEEK_CUR);
    return at >= 0 && ftruncate(static_cast<int>(f), at) == 0;
}
void CloseFile(FileHandle f) { close(static_cast<int>(f)); }
void Wait(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
void LocalTime(SystemTime* out) {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    *out = SystemTime{static_cast<uint16_t>(t.tm_year + 1900), static_cast<uint16_t>(t.tm_mon + 1),
                      static_cast<uint16_t>(t.tm_wday), static_cast<uint16_t>(t.tm_mday),
                      static_cast<uint16_t>(t.tm_hour), static_cast<uint16_t>(t.tm_min),
                      static_cast<uint16_t>(t.tm_sec), 0};
}
}  // namespace platform

namespace ui {
int MessageBox(Window, const char* text, const char*, unsigned) {
    std::fprintf(stderr, "message: %s\n", text);
    return kAnswerNo;
}
void SetCaption(Window, const char*) {}
void SendClose(Window) {}
}  // namespace ui

namespace {

struct Sink {
    std::vector<TestRecord> records;
    size_t delivered = 0;
};

TestRecord* Begin(void* context, size_t count) {
    auto* s = static_cast<Sink*>(context);
    s->records.resize(count);
    return s->records.data();
}

// The viewer formats a row only when its list draws it, so loading is the
// read, the vote, the descrambling and the crc check of every record.
bool Deliver(void* context, size_t, bool) {
    ++static_cast<Sink*>(context)->delivered;
    return true;
}

// The instrument set as ГОСТ asks, so a judged series has no deviations
// unless a caller gives it some.
void SetGostSettings(TestRecord& r) {
    const TestMethod& gost = *BuiltInMethod(kMethodGost);
    r.settingsSnapshot.countAndLift = static_cast<uint8_t>(gost.breakdowns);
    r.settingsSnapshot.pauseAndFlags = static_cast<uint8_t>(gost.pauseMinutes | settings_bits::kPreTestDelay);
    r.settingsSnapshot.riseRate = gost.riseRate;
}

// Judged series take turns at the three outcomes of a mean of 52.1 kV, and
// every tenth was run at another rise rate, so the conclusions differ as a
// laboratory's do.
void JudgeInTurn(TestRecord& r, long n) {
    static const NormLimits kNorms[] = {{400, 0}, {500, 600}, {550, 0}};
    SetGostSettings(r);
    if (n % 10 == 0) r.settingsSnapshot.riseRate = 10;
    r.verdict = JudgeSeries(r, BuiltInMethod(kMethodGost), kNorms[n % 3]);
}

int Write(long count, bool judged) {
    TestRecord r;
    std::memset(&r, 0, sizeof r);
    r.valueCount = 6;
    for (int i = 0; i < 6; ++i) r.breakdownVoltage[i] = static_cast<uint16_t>(500 + i * 7);
    r.meanVoltage = 521;
    r.testTime = SystemTime{2026, 12, 1, 7, 12, 0, 0, 0};
    for (long n = 0; n < count; ++n) {
        std::snprintf(r.protocolText[0], kProtocolTextSize, "%ld", n + 1);
        std::snprintf(r.protocolText[1], kProtocolTextSize, "Масло трансформаторное ГК");
        if (judged) JudgeInTurn(r, n);
        if (!ArchiveAppend(r)) return 1;
    }
    return 0;
}

// A sample source whose oil gets worse: the mean falls from 60 kV by 1 kV a
// series, the six values spread around it.
int WriteSource(long count, const char* source, const char* firstDay, long everyDays, NormLimits norm) {
    std::tm day{};
    if (std::sscanf(firstDay, "%d-%d-%d", &day.tm_year, &day.tm_mon, &day.tm_mday) != 3) return 2;
    day.tm_year -= 1900;
    day.tm_mon -= 1;
    day.tm_hour = 12;
    const std::time_t first = timegm(&day);
    TestRecord r;
    std::memset(&r, 0, sizeof r);
    r.valueCount = 6;
    r.boundVoltage = 1000;
    std::snprintf(r.protocolText[3], kProtocolTextSize, "%s", source);
    if (norm.minimum) SetGostSettings(r);
    for (long n = 0; n < count; ++n) {
        const int mean = 600 - 10 * static_cast<int>(n);
        for (int i = 0; i < 6; ++i) r.breakdownVoltage[i] = static_cast<uint16_t>(mean - 30 + 12 * i);
        r.meanVoltage = static_cast<uint16_t>(mean);
        const std::time_t when = first + static_cast<std::time_t>(n) * everyDays * 86400;
        std::tm t{};
        gmtime_r(&when, &t);
        r.testTime = SystemTime{static_cast<uint16_t>(t.tm_year + 1900), static_cast<uint16_t>(t.tm_mon + 1),
                                static_cast<uint16_t>(t.tm_wday), static_cast<uint16_t>(t.tm_mday),
                                static_cast<uint16_t>(t.tm_hour), 0, 0, 0};
        std::snprintf(r.protocolText[0], kProtocolTextSize, "%ld", n + 1);
        if (norm.minimum) r.verdict = JudgeSeries(r, BuiltInMethod(kMethodGost), norm);
        if (!ArchiveAppend(r)) return 1;
    }
    return 0;
}

uint16_t Tenths(const char* kilovolts) { return static_cast<uint16_t>(std::atof(kilovolts) * 10 + 0.5); }

int Load() {
    Sink sink;
    auto start = std::chrono::steady_clock::now();
    ArchiveLoadResult result = ArchiveLoad(ArchiveLoadSink{&sink, Begin, Deliver});
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const double megabytes = result.records * static_cast<double>(kArchiveGroupSize) / 1e6;
    std::printf("series %zu  load+decode %.3f s  per series %.2f us  %.0f MB/s of log.dat  peak RSS %.1f MiB\n",
                result.records, seconds, result.records ? seconds * 1e6 / result.records : 0.0,
                seconds > 0 ? megabytes / seconds : 0.0, usage.ru_maxrss / 1024.0);
    return result.records == sink.delivered ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc == 3 || (argc == 4 && std::strcmp(argv[3], "judged") == 0)) && std::strcmp(argv[1], "write") == 0)
        return Write(std::atol(argv[2]), argc == 4);
    if (argc == 2 && std::strcmp(argv[1], "load") == 0) return Load();
    if (argc >= 6 && argc <= 8 && std::strcmp(argv[1], "source") == 0) {
        const NormLimits norm{argc > 6 ? Tenths(argv[6]) : uint16_t(0), argc > 7 ? Tenths(argv[7]) : uint16_t(0)};
        return WriteSource(std::atol(argv[2]), argv[3], argv[4], std::atol(argv[5]), norm);
    }
    std::fprintf(stderr,
                 "usage: bench_archive write N [judged] | load | source N SOURCE YYYY-MM-DD DAYS [MIN_KV [GOOD_KV]]\n");
    return 2;
}
