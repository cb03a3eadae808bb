// Moving log.dat aside under a dated name instead of emptying it.
#include "results/archive_aside.h"

#include <cstdio>
#include <cstring>

#include "common/hook_list.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "results/archive.h"

namespace {

// Far more than one second can produce; a bound so a folder that refuses
// every name cannot keep the loop going.
constexpr int kMostAttempts = 99;

HookList<const char*> g_asideHooks;

// An empty log.dat, as emptying it used to leave: the viewer then finds no
// results, where a missing file would also put its error code in the main
// window's caption. Should it fail, the next append creates the file anyway.
void StartEmpty() {
    platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadWriteAlways);
    if (file != platform::kNoFile) platform::CloseFile(file);
}

}  // namespace

void ArchiveAsideName(const SystemTime& at, int attempt, char* out, size_t size) {
    char suffix[16] = "";
    if (attempt >= 2) std::snprintf(suffix, sizeof suffix, "-%d", attempt);
    std::snprintf(out, size, "log-%04u%02u%02u-%02u%02u%02u%s.dat", unsigned{at.wYear}, unsigned{at.wMonth},
                  unsigned{at.wDay}, unsigned{at.wHour}, unsigned{at.wMinute}, unsigned{at.wSecond}, suffix);
}

void AddArchiveAsideHook(void (*hook)(const char*)) { g_asideHooks.Add(hook); }

ArchiveAsideResult ArchiveMoveAside(const SystemTime& at) {
    ArchiveAsideResult result{};
    uint32_t waited = 0;
    for (int attempt = 1; attempt <= kMostAttempts;) {
        ArchiveAsideName(at, attempt, result.name, sizeof result.name);
        uint32_t error = 0;
        if (platform::MoveFileNew(kArchiveFileName, result.name, &error)) {
            result.moved = true;
            StartEmpty();
            g_asideHooks.Call(result.name);
            return result;
        }
        result.error = error;
        if (error == platform::kErrorFileNotFound) {
            result.noArchive = true;
            return result;
        }
        if (error == platform::kErrorFileExists || error == platform::kErrorAlreadyExists) {
            ++attempt;
        } else if (error == platform::kErrorSharingViolation && waited < platform::kBusyRetryTotalMs) {
            platform::Wait(platform::kBusyRetryStepMs);
            waited += platform::kBusyRetryStepMs;
        } else {
            return result;
        }
    }
    return result;
}
