#include "results/archive.h"

#include <cstring>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace {

constexpr char kKey[] = "тихий ветер над рекой- шум листв";
static_assert(sizeof(kKey) - 1 == 32, "the archive key is 32 Windows-1251 bytes");

// Long enough to outlast a viewer reading a large archive, short enough not
// to stall the worker's polling noticeably.
constexpr uint32_t kRetryStepMs = 50;
constexpr uint32_t kRetryTotalMs = 2000;

enum class WriteResult { Stored, Busy, Failed };

WriteResult TryAppendGroup(const uint8_t* group) {
    platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadWriteAlways);
    if (file == platform::kNoFile) return WriteResult::Busy;
    uint64_t oldLength = 0;
    bool known = platform::FileSize(file, &oldLength);
    uint32_t written = 0;
    bool ok = known && platform::SeekToEnd(file) &&
              platform::WriteFile(file, group, static_cast<uint32_t>(kArchiveGroupSize), &written) &&
              written == kArchiveGroupSize;
    if (!ok && known) {
        // A torn group would shift every later group out of step; take it back.
        uint64_t now = 0;
        if (platform::FileSize(file, &now) && now != oldLength && platform::SeekTo(file, oldLength))
            platform::TruncateHere(file);
    }
    platform::CloseFile(file);
    return ok ? WriteResult::Stored : WriteResult::Failed;
}

}  // namespace

namespace {

// The bitwise CRC step, applied once per possible byte, makes the table
// that lets loading check 50 000 records without a visible pause.
struct CrcTable {
    uint16_t entry[256];
};

constexpr CrcTable MakeCrcTable() {
    CrcTable t{};
    for (int b = 0; b < 256; ++b) {
        uint16_t crc = static_cast<uint16_t>(b << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
        t.entry[b] = crc;
    }
    return t;
}

constexpr CrcTable kCrcTable = MakeCrcTable();

}  // namespace

uint16_t ArchiveCrc16(const uint8_t* bytes, size_t count) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i)
        crc = static_cast<uint16_t>((crc << 8) ^ kCrcTable.entry[(crc >> 8) ^ bytes[i]]);
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

void ArchiveDecodeGroup(uint8_t* group, TestRecord* record) {
    ArchiveVote(group);
    ArchiveScramble(group, sizeof(TestRecord));
    std::memcpy(record, group, sizeof(TestRecord));
}

bool ArchiveAppend(TestRecord& record) {
    record.crc = ArchiveRecordCrc(record);
    uint8_t group[kArchiveGroupSize];
    for (int copy = 0; copy < 3; ++copy) {
        uint8_t* at = group + copy * sizeof(TestRecord);
        std::memcpy(at, &record, sizeof(TestRecord));
        ArchiveScramble(at, sizeof(TestRecord));
    }
    for (uint32_t waited = 0;; waited += kRetryStepMs) {
        if (TryAppendGroup(group) == WriteResult::Stored) return true;
        if (waited >= kRetryTotalMs) break;
        platform::Wait(kRetryStepMs);
    }
    ui::MessageBox(ui::Window::Main,
                   "Результаты испытания не удалось сохранить в архиве (файл log.dat недоступен).\n"
                   "Протокол этого испытания можно по-прежнему напечатать или сохранить.",
                   "Ошибка!", ui::kOk | ui::kIconError);
    return false;
}
