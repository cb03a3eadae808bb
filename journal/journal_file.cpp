// journal.csv through the platform's files: appending with the chain, hashing files, the check of the data folder.
#include "journal/journal_file.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/account.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/sha256.h"
#include "common/version_info.h"
#include "results/archive.h"
#include "results/archive_csv.h"

namespace {

constexpr uint32_t kPiece = 64 * 1024;

// Opens path, waiting a while when another opener (the viewer) holds it.
platform::FileHandle OpenPatiently(const char* path, platform::OpenMode mode) {
    for (uint32_t waited = 0;; waited += platform::kBusyRetryStepMs) {
        uint32_t error = 0;
        platform::FileHandle file = platform::OpenExclusive(path, mode, &error);
        if (file != platform::kNoFile || error != platform::kErrorSharingViolation ||
            waited >= platform::kBusyRetryTotalMs)
            return file;
        platform::Wait(platform::kBusyRetryStepMs);
    }
}

// Reads the file from its start to its end, piece by piece, into each.
template <typename Each>
bool ReadPieces(platform::FileHandle file, Each each) {
    std::vector<uint8_t> piece(kPiece);
    if (!platform::SeekTo(file, 0)) return false;
    for (;;) {
        uint32_t got = 0;
        if (!platform::ReadFile(file, piece.data(), kPiece, &got)) return false;
        if (got == 0) return true;
        each(piece.data(), got);
    }
}

bool ReadAll(platform::FileHandle file, std::string* bytes) {
    return ReadPieces(file, [bytes](const uint8_t* at, uint32_t n) { bytes->append(reinterpret_cast<const char*>(at), n); });
}

// Writes text in one write at the end; a part written is taken back, so the
// next line does not land on a torn one.
bool WriteLine(platform::FileHandle file, const std::string& text) {
    uint64_t before = 0;
    uint32_t written = 0;
    if (!platform::FileSize(file, &before) || !platform::SeekToEnd(file)) return false;
    if (platform::WriteFile(file, text.data(), static_cast<uint32_t>(text.size()), &written) && written == text.size())
        return true;
    if (platform::SeekTo(file, before)) platform::TruncateHere(file);
    return false;
}

JournalEntry StartEntry(const JournalEntry& first) {
    JournalEntry start;
    start.event = JournalEvent::JournalStart;
    start.account = first.account;
    start.person = first.person;
    start.details = ORLA_PRODUCT_NAME " " ORLA_VERSION_TEXT;
    return start;
}

// The chain_sha256 of a line as JournalFormatLine gives it: its last field, before CR LF.
std::string ChainOf(const std::string& line) {
    return line.substr(line.size() - 2 - platform::kSha256HexSize, platform::kSha256HexSize);
}

// The seq the next line takes and the chain it continues.
uint64_t NextSeq(const JournalFile& file, std::string* chain) {
    *chain = JournalFirstChain();
    if (file.lines.empty()) return 1;
    const std::vector<std::string>& last = file.lines.back().fields;
    *chain = last.back();
    uint64_t seq = JournalNumber(last.front());
    return seq != 0 ? seq + 1 : file.lines.size() + 1;
}

// Appends the entry (after journal_start for an empty register) to an open register.
JournalAppendOutcome AppendTo(platform::FileHandle file, const JournalEntry& entry) {
    std::string bytes;
    if (!ReadAll(file, &bytes)) return JournalAppendOutcome::Failed;
    const JournalFile read = JournalParse(bytes);
    if (read.tornTail && !(platform::SeekTo(file, read.wholeBytes) && platform::TruncateHere(file)))
        return JournalAppendOutcome::Failed;
    SystemTime now{};
    platform::LocalTime(&now);
    std::string chain;
    uint64_t seq = NextSeq(read, &chain);
    const bool start = read.lines.empty();
    if (start) {
        std::string line = JournalFormatLine(StartEntry(entry), seq++, now, chain);
        chain = ChainOf(line);
        if (!WriteLine(file, (read.wholeBytes == 0 ? kCsvByteOrderMark : "") + line))
            return JournalAppendOutcome::Failed;
    }
    if (!WriteLine(file, JournalFormatLine(entry, seq, now, chain))) return JournalAppendOutcome::Failed;
    return start ? JournalAppendOutcome::Started : JournalAppendOutcome::Appended;
}

// The SHA-256 of every record log.dat holds, as the vote gives it back.
std::unordered_set<std::string> ArchiveRecordHashes() {
    std::unordered_set<std::string> hashes;
    platform::FileHandle file = OpenPatiently(kArchiveFileName, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return hashes;
    std::string pending;
    ReadPieces(file, [&](const uint8_t* at, uint32_t n) {
        pending.append(reinterpret_cast<const char*>(at), n);
        size_t used = 0;
        for (; pending.size() - used >= kArchiveGroupSize; used += kArchiveGroupSize) {
            TestRecord record;
            ArchiveDecodeGroup(reinterpret_cast<const uint8_t*>(pending.data() + used), &record);
            hashes.insert(JournalRecordSha256(record));
        }
        pending.erase(0, used);
    });
    platform::CloseFile(file);
    return hashes;
}

}  // namespace

JournalAppendOutcome JournalAppend(const JournalEntry& entry) {
    platform::FileHandle file = OpenPatiently(kJournalFileName, platform::OpenMode::ReadWriteAlways);
    if (file == platform::kNoFile) return JournalAppendOutcome::Failed;
    JournalEntry signedBy = entry;
    signedBy.account = platform::AccountName();
    JournalAppendOutcome outcome = AppendTo(file, signedBy);
    platform::CloseFile(file);
    return outcome;
}

std::string JournalFileSha256(const char* path) {
    platform::FileHandle file = OpenPatiently(path, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return std::string();
    platform::Sha256 hash;
    uint8_t digest[platform::kSha256Size];
    bool ok = ReadPieces(file, [&hash](const uint8_t* at, uint32_t n) { hash.Add(at, n); });
    platform::CloseFile(file);
    if (!ok || !hash.Finish(digest)) return std::string();
    return platform::HexLower(digest, sizeof digest);
}

bool JournalReadDataFolder(std::string* bytes) {
    platform::FileHandle file = OpenPatiently(kJournalFileName, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return false;
    const bool whole = ReadAll(file, bytes);
    platform::CloseFile(file);
    return whole;
}

bool JournalCheckDataFolder(JournalCheck* check, JournalFile* read) {
    std::string bytes;
    if (!JournalReadDataFolder(&bytes)) return false;
    JournalFile parsed = JournalParse(bytes);
    *check = JournalVerify(parsed, ArchiveRecordHashes());
    if (read) *read = std::move(parsed);
    return true;
}

bool JournalArchiveHolds(const std::string& recordSha256) { return ArchiveRecordHashes().count(recordSha256) != 0; }
