// log.dat: appending a series as three scrambled copies, the vote, the crc.
#include "results/archive.h"

#include <cstring>
#include <string>

#include "common/hook_list.h"
#include "platform/clock.h"
#include "platform/file_errors.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace {

constexpr char kKey[] = "тихий ветер над рекой- шум листв";
static_assert(sizeof(kKey) - 1 == 32, "the archive key is 32 Windows-1251 bytes");

// Long enough to outlast a viewer reading a large archive, short enough not
// to stall the worker's polling noticeably.
constexpr uint32_t kRetryTotalMs = 2000;

// One try at the end of the file; false with the system error code of the cause.
bool TryAppendGroup(const uint8_t* group, uint32_t* error) {
    platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadWriteAlways, error);
    if (file == platform::kNoFile) return false;
    uint64_t oldLength = 0;
    bool known = platform::FileSize(file, &oldLength);
    // A group torn by a power cut would put this one and every later one out
    // of step with the group boundaries, and the viewer's repair would then
    // cut into the newest series; whole groups first.
    if (known && oldLength % kArchiveGroupSize != 0) oldLength = ArchiveMendTail(file, oldLength);
    known = known && oldLength % kArchiveGroupSize == 0;
    uint32_t written = 0;
    *error = platform::kErrorWriteFault;
    bool ok = known && platform::SeekToEnd(file) &&
              platform::WriteFile(file, group, static_cast<uint32_t>(kArchiveGroupSize), &written, error);
    if (ok && written != kArchiveGroupSize) {
        // A short write without an error is the disk running out.
        ok = false;
        *error = platform::kErrorDiskFull;
    }
    if (!ok && known) {
        // A torn group would shift every later group out of step; take it back.
        uint64_t now = 0;
        if (platform::FileSize(file, &now) && now != oldLength && platform::SeekTo(file, oldLength))
            platform::TruncateHere(file);
    }
    platform::CloseFile(file);
    return ok;
}

}  // namespace

namespace {

// The bitwise CRC step, applied once per possible byte, makes the table;
// table k gives a byte's effect k zero bytes later, so eight bytes are taken
// in one step ("slicing by eight"). Loading checks every record's crc, so
// this is a good part of the time to list a large archive.
struct CrcTables {
    uint16_t entry[8][256];
};

constexpr CrcTables MakeCrcTables() {
    CrcTables t{};
    for (int b = 0; b < 256; ++b) {
        uint16_t crc = static_cast<uint16_t>(b << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
        t.entry[0][b] = crc;
    }
    for (int k = 1; k < 8; ++k)
        for (int b = 0; b < 256; ++b) {
            uint16_t prev = t.entry[k - 1][b];
            t.entry[k][b] = static_cast<uint16_t>((prev << 8) ^ t.entry[0][prev >> 8]);
        }
    return t;
}

constexpr CrcTables kCrc = MakeCrcTables();

// The key as the four 64-bit words it is XORed with, in memory order.
struct KeyWords {
    uint64_t word[4];
};

KeyWords MakeKeyWords() {
    KeyWords k;
    std::memcpy(k.word, kKey, sizeof k.word);
    return k;
}

const KeyWords kKeyWords = MakeKeyWords();

}  // namespace

uint16_t ArchiveCrc16(const uint8_t* bytes, size_t count) {
    uint16_t crc = 0xFFFF;
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const uint8_t* b = bytes + i;
        crc = static_cast<uint16_t>(kCrc.entry[7][b[0] ^ (crc >> 8)] ^ kCrc.entry[6][b[1] ^ (crc & 0xFF)] ^
                                    kCrc.entry[5][b[2]] ^ kCrc.entry[4][b[3]] ^ kCrc.entry[3][b[4]] ^
                                    kCrc.entry[2][b[5]] ^ kCrc.entry[1][b[6]] ^ kCrc.entry[0][b[7]]);
    }
    for (; i < count; ++i) crc = static_cast<uint16_t>((crc << 8) ^ kCrc.entry[0][(crc >> 8) ^ bytes[i]]);
    return crc;
}

void ArchiveScramble(uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) bytes[i] ^= static_cast<uint8_t>(kKey[i & 31]);
}

void ArchiveVote(uint8_t* group) {
    const size_t n = sizeof(TestRecord);
    static_assert(sizeof(TestRecord) % 8 == 0, "the vote runs on 64-bit words");
    // Bitwise, so it can take eight bytes at a time.
    for (size_t i = 0; i < n; i += 8) {
        uint64_t a, b, c;
        std::memcpy(&a, group + i, 8);
        std::memcpy(&b, group + n + i, 8);
        std::memcpy(&c, group + 2 * n + i, 8);
        a = (a & (b | c)) | (b & c);
        std::memcpy(group + i, &a, 8);
    }
}

uint16_t ArchiveRecordCrc(const TestRecord& record) {
    return ArchiveCrc16(reinterpret_cast<const uint8_t*>(&record), kArchiveCrcSpan);
}

namespace {

// Whether the torn last group of a file of this length can be completed;
// when it can, group holds what the missing bytes are taken from.
bool RestorableTail(platform::FileHandle file, uint64_t length, uint8_t* group) {
    const size_t n = sizeof(TestRecord);
    const uint64_t rest = length % kArchiveGroupSize;
    // Copies A and B are whole; the vote takes them, so the filler is free.
    if (rest >= 2 * n + 1) return true;
    uint32_t got = 0;
    if (rest < n || !platform::SeekTo(file, length - rest) ||
        !platform::ReadFile(file, group, static_cast<uint32_t>(n), &got) || got != n)
        return false;
    TestRecord a;
    std::memcpy(&a, group, n);
    ArchiveScramble(reinterpret_cast<uint8_t*>(&a), n);
    if (ArchiveRecordCrc(a) != a.crc) return false;
    // One verified copy holds the whole series: the rest of the group
    // becomes copies of it, so the vote gives it back.
    std::memcpy(group + n, group, n);
    std::memcpy(group + 2 * n, group, n);
    return true;
}

}  // namespace

bool ArchiveTailRestorable(platform::FileHandle file, uint64_t length) {
    static thread_local uint8_t group[kArchiveGroupSize];
    return length % kArchiveGroupSize != 0 && RestorableTail(file, length, group);
}

uint64_t ArchiveMendTail(platform::FileHandle file, uint64_t length) {
    const uint64_t rest = length % kArchiveGroupSize;
    const uint64_t start = length - rest;
    uint8_t group[kArchiveGroupSize] = {};
    if (RestorableTail(file, length, group)) {
        uint32_t count = static_cast<uint32_t>(kArchiveGroupSize - rest), written = 0;
        if (platform::SeekToEnd(file) && platform::WriteFile(file, group + rest, count, &written) && written == count)
            return length + count;
    } else if (platform::SeekTo(file, start) && platform::TruncateHere(file)) {
        return start;
    }
    uint64_t now = length;
    platform::FileSize(file, &now);
    return now;
}

void ArchiveDecodeGroup(const uint8_t* group, TestRecord* record) {
    // The vote and the descrambling in one pass of 64-bit words, straight
    // into the record: this is most of the work of listing a large archive.
    constexpr size_t n = sizeof(TestRecord);
    static_assert(n % 8 == 0, "the record is whole 64-bit words");
    auto* out = reinterpret_cast<uint8_t*>(record);
    for (size_t i = 0; i < n; i += 8) {
        uint64_t a, b, c;
        std::memcpy(&a, group + i, 8);
        std::memcpy(&b, group + n + i, 8);
        std::memcpy(&c, group + 2 * n + i, 8);
        a = ((a & (b | c)) | (b & c)) ^ kKeyWords.word[(i / 8) & 3];
        std::memcpy(out + i, &a, 8);
    }
}

namespace {

HookList<const TestRecord&> g_appendedHooks;

void BuildGroup(TestRecord& record, uint8_t* group) {
    record.crc = ArchiveRecordCrc(record);
    for (int copy = 0; copy < 3; ++copy) {
        uint8_t* at = group + copy * sizeof(TestRecord);
        std::memcpy(at, &record, sizeof(TestRecord));
        ArchiveScramble(at, sizeof(TestRecord));
    }
}

void Appended(const TestRecord& record) { g_appendedHooks.Call(record); }

}  // namespace

void AddArchiveAppendedHook(void (*hook)(const TestRecord&)) { g_appendedHooks.Add(hook); }

bool ArchiveAppendOnce(TestRecord& record, uint32_t* systemError) {
    uint8_t group[kArchiveGroupSize];
    BuildGroup(record, group);
    if (!TryAppendGroup(group, systemError)) return false;
    Appended(record);
    return true;
}

bool ArchiveAppendPatiently(TestRecord& record, uint32_t* systemError) {
    uint8_t group[kArchiveGroupSize];
    BuildGroup(record, group);
    for (uint32_t waited = 0;; waited += platform::kBusyRetryStepMs) {
        if (TryAppendGroup(group, systemError)) {
            Appended(record);
            return true;
        }
        if (waited >= kRetryTotalMs) return false;
        platform::Wait(platform::kBusyRetryStepMs);
    }
}

bool ArchiveAppend(TestRecord& record) {
    uint32_t error = 0;
    if (ArchiveAppendPatiently(record, &error)) return true;
    const std::string text = "Результаты испытания не удалось сохранить в архиве (файл log.dat): " +
                             platform::FileErrorCause(error) +
                             ".\nПротокол этого испытания можно по-прежнему напечатать или сохранить.";
    ui::MessageBox(ui::Window::Main, text.c_str(), "Ошибка!", ui::kOk | ui::kIconError);
    return false;
}
