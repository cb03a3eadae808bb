// Loading and clearing of log.dat, and loading of archives moved aside, for
// the archive viewer.
#include "results/archive_loader.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_damage.h"

namespace {

// Groups read per read call; the file is decoded chunk by chunk straight into
// the receiver's records, so no whole-file buffer is needed.
constexpr size_t kChunkGroups = 256;

platform::FileHandle OpenArchive(uint32_t* error, const char* path = kArchiveFileName,
                                 platform::OpenMode mode = platform::OpenMode::ReadWriteExisting) {
    // Busy only while an append runs: a short delay instead of "no results".
    for (uint32_t waited = 0;; waited += platform::kBusyRetryStepMs) {
        platform::FileHandle file = platform::OpenExclusive(path, mode, error);
        if (file != platform::kNoFile || *error != platform::kErrorSharingViolation ||
            waited >= platform::kBusyRetryTotalMs)
            return file;
        platform::Wait(platform::kBusyRetryStepMs);
    }
}

ArchiveLoadResult Result(ArchiveLoadOutcome outcome) {
    ArchiveLoadResult r{};
    r.outcome = outcome;
    return r;
}

ArchiveLoadResult NotOpened(uint32_t error) {
    char caption[16];
    std::snprintf(caption, sizeof caption, "%u", static_cast<unsigned>(error));
    ui::SetCaption(ui::Window::Main, caption);
    return Result(ArchiveLoadOutcome::NoResults);
}

// Completes or cuts back a torn tail. Returns the new length.
uint64_t Repair(platform::FileHandle file, uint64_t length) {
    uint64_t now = ArchiveMendTail(file, length);
    if (now == 0) ui::SendClose(ui::Window::ArchiveViewer);
    return now;
}

// Hands record i to the receiver with its crc verdict; false stops.
bool DeliverRecord(const ArchiveLoadSink& sink, const TestRecord* records, size_t i, ArchiveLoadResult* result) {
    const TestRecord& r = records[i];
    bool matches = ArchiveRecordCrc(r) == r.crc;
    if (!matches) {
        if (result->crcMismatches < kArchiveMismatchesKept) result->firstMismatches[result->crcMismatches] = i;
        ++result->crcMismatches;
    }
    if (!sink.deliver(sink.context, i, matches)) return false;
    result->records = i + 1;
    return true;
}

// Reads and decodes up to count groups into records, handing each chunk's
// records over as soon as they are decoded, so a viewer lists the first rows
// of a large archive while the rest is still read. Returns how many groups
// were read.
size_t ReadGroups(platform::FileHandle file, TestRecord* records, size_t count, const ArchiveLoadSink& sink,
                  ArchiveLoadResult* result) {
    uint8_t* chunk = new (std::nothrow) uint8_t[kChunkGroups * kArchiveGroupSize];
    if (!chunk) return 0;
    size_t done = 0;
    if (platform::SeekTo(file, 0)) {
        while (done < count) {
            size_t want = count - done < kChunkGroups ? count - done : kChunkGroups;
            uint32_t got = 0;
            platform::ReadFile(file, chunk, static_cast<uint32_t>(want * kArchiveGroupSize), &got);
            size_t groups = got / kArchiveGroupSize;
            for (size_t g = 0; g < groups; ++g) ArchiveDecodeGroup(chunk + g * kArchiveGroupSize, &records[done + g]);
            for (size_t g = 0; g < groups; ++g) {
                if (!DeliverRecord(sink, records, done + g, result)) {
                    result->outcome = ArchiveLoadOutcome::Stopped;
                    delete[] chunk;
                    return done + g + 1;
                }
            }
            done += groups;
            if (groups < want) break;
        }
    }
    delete[] chunk;
    return done;
}

// Hands over the whole groups of an open file of the given length; closes it.
ArchiveLoadResult LoadWholeGroups(platform::FileHandle file, uint64_t length, const ArchiveLoadSink& sink) {
    size_t count = static_cast<size_t>(length / kArchiveGroupSize);
    if (count == 0) {
        platform::CloseFile(file);
        return Result(ArchiveLoadOutcome::Loaded);
    }
    TestRecord* records = sink.begin(sink.context, count);
    if (!records) {
        platform::CloseFile(file);
        return Result(ArchiveLoadOutcome::Stopped);
    }
    ArchiveLoadResult result = Result(ArchiveLoadOutcome::Loaded);
    size_t got = ReadGroups(file, records, count, sink, &result);
    platform::CloseFile(file);
    if (got == 0) return Result(ArchiveLoadOutcome::Unreadable);
    return result;
}

}  // namespace

ArchiveLoadResult ArchiveLoad(const ArchiveLoadSink& sink) {
    uint32_t error = 0;
    platform::FileHandle file = OpenArchive(&error);
    if (file == platform::kNoFile) return NotOpened(error);
    uint64_t length = 0;
    if (!platform::FileSize(file, &length) || length == 0) {
        platform::CloseFile(file);
        return Result(ArchiveLoadOutcome::NoResults);
    }
    if (length % kArchiveGroupSize != 0) {
        // The question says what is wrong and what "Да" does, so the file is
        // read for it first; then it is let go while the user decides, so a
        // series that ends meanwhile can still be appended.
        const ArchiveDamage damage = ArchiveFindDamage(file, length);
        platform::CloseFile(file);
        int answer = ui::MessageBox(ui::Window::Main, ArchiveDamageQuestion(damage).c_str(), "Файл поврежден!",
                                    ui::kYesNo | ui::kIconWarning);
        file = OpenArchive(&error);
        if (file == platform::kNoFile) return NotOpened(error);
        if (!platform::FileSize(file, &length)) length = 0;
        if (answer == ui::kAnswerYes) {
            ArchiveMendGroups(file, length, damage.mendable);
            if (length % kArchiveGroupSize != 0) length = Repair(file, length);
        }
    }
    if (length == 0) {
        platform::CloseFile(file);
        return Result(ArchiveLoadOutcome::Unreadable);
    }
    return LoadWholeGroups(file, length, sink);
}

ArchiveLoadResult ArchiveLoadReadOnly(const char* path, const ArchiveLoadSink& sink) {
    uint32_t error = 0;
    platform::FileHandle file = OpenArchive(&error, path, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return Result(ArchiveLoadOutcome::Unreadable);
    uint64_t length = 0;
    if (!platform::FileSize(file, &length) || length == 0) {
        platform::CloseFile(file);
        return Result(ArchiveLoadOutcome::NoResults);
    }
    ArchiveLoadResult result = LoadWholeGroups(file, length, sink);
    result.tornTail = length % kArchiveGroupSize != 0;
    return result;
}

const char* ArchiveLoadMessage(ArchiveLoadOutcome outcome) {
    switch (outcome) {
        case ArchiveLoadOutcome::NoResults: return "Результатов ранее проведенных испытаний не найдено!";
        case ArchiveLoadOutcome::Unreadable: return "Невозможно прочитать файл!";
        default: return nullptr;
    }
}

bool ArchiveMismatchWarning(const ArchiveLoadResult& result, const std::vector<uint32_t>& rows, char* out,
                            size_t size) {
    if (result.crcMismatches == 0 || size == 0) return false;
    size_t used = static_cast<size_t>(std::snprintf(out, size, "Записей архива с несовпадающей контрольной суммой: %u",
                                                    static_cast<unsigned>(result.crcMismatches)));
    const size_t shown = rows.size() < kArchiveMismatchesKept ? rows.size() : kArchiveMismatchesKept;
    for (size_t i = 0; i < shown && used < size; ++i)
        used += static_cast<size_t>(std::snprintf(out + used, size - used, "%s %u",
                                                  i ? "," : (rows.size() == 1 ? " (строка" : " (строки"),
                                                  static_cast<unsigned>(rows[i] + 1)));
    const char* close = shown == 0 ? "" : shown < rows.size() ? ", ...)" : ")";
    if (used < size) used += static_cast<size_t>(std::snprintf(out + used, size - used, "%s", close));
    if (used < size)
        std::snprintf(out + used, size - used,
                      ".\nЭти записи показаны, но их данные могут быть искажены; в списке они отмечены знаком "
                      "«!» перед номером протокола.");
    return true;
}

bool ArchiveLoadWarning(const ArchiveLoadResult& result, const std::vector<uint32_t>& rows, char* out, size_t size) {
    if (size == 0) return false;
    out[0] = 0;
    const bool mismatches = ArchiveMismatchWarning(result, rows, out, size);
    if (!result.tornTail) return mismatches;
    const size_t used = std::strlen(out);
    std::snprintf(out + used, size - used, "%sПоследняя серия в файле записана не полностью и не показана.",
                  mismatches ? "\n" : "");
    return true;
}

bool ArchiveClear() {
    uint32_t error = 0;
    platform::FileHandle file = OpenArchive(&error);
    if (file == platform::kNoFile) return error == platform::kErrorFileNotFound;
    bool ok = platform::SeekTo(file, 0) && platform::TruncateHere(file);
    platform::CloseFile(file);
    return ok;
}
