#pragma once
// The archived record of one series, byte for byte as log.dat holds it.
#include <cstddef>
#include <cstdint>

#include "common/device_settings.h"
#include "platform/system_time.h"

// Voltage word: bits 0-14 tenths of a kilovolt, bit 15 = no breakdown up to
// this voltage.
constexpr uint16_t kNoBreakdownBit = 0x8000;
constexpr uint16_t kVoltageMask = 0x7FFF;
constexpr int kVoltageSlots = 6;
constexpr int kProtocolTextCount = 13;
constexpr int kProtocolTextSize = 256;
constexpr size_t kRecordHeadSize = 64;

// The decision on a series, taken once when it ended and never again: a
// reprint years later must say what was concluded then. Records written
// before series were judged hold zeros here, so present == 0 reads as "not
// judged" and older readers are unaffected.
struct VerdictBlock {
    uint8_t present;            // 1 = the fields below are significant
    uint8_t method;             // MethodCode
    uint16_t normMinimum;       // tenths of a kilovolt; 0 = no norm chosen
    uint16_t normGood;          // tenths of a kilovolt; 0 = a one-limit norm
    uint8_t dispersionRule;     // DispersionRule
    uint8_t dispersionPercent;  // the rule's P
    uint8_t verdict;            // Verdict
    uint8_t deviations;         // Deviation bits
};
static_assert(sizeof(VerdictBlock) == 10, "verdict block");
static_assert(offsetof(VerdictBlock, method) == 1, "layout");
static_assert(offsetof(VerdictBlock, normMinimum) == 2, "layout");
static_assert(offsetof(VerdictBlock, normGood) == 4, "layout");
static_assert(offsetof(VerdictBlock, dispersionRule) == 6, "layout");
static_assert(offsetof(VerdictBlock, dispersionPercent) == 7, "layout");
static_assert(offsetof(VerdictBlock, verdict) == 8, "layout");
static_assert(offsetof(VerdictBlock, deviations) == 9, "layout");

// Which version of a series a record is, and where it came from. The
// archive is append-only: a mended protocol text is a new record of the
// same series with the next amendment number. Zero in older records.
struct RecordMarks {
    uint16_t amendment;     // 0 = as archived when the series ended, k = the k-th amendment
    uint16_t amendedAt[2];  // seconds since 2000-01-01 00:00 local time, low word first
    uint8_t origin;         // RecordOrigin bits
    uint8_t reserved[3];
};
static_assert(sizeof(RecordMarks) == 10, "record marks");
static_assert(offsetof(RecordMarks, amendedAt) == 2, "layout");
static_assert(offsetof(RecordMarks, origin) == 6, "layout");
static_assert(offsetof(RecordMarks, reserved) == 7, "layout");
namespace origin_bits {
constexpr uint8_t kFromInstrumentMemory = 0x01;  // taken from the results the instrument stored
}  // namespace origin_bits

// The record of one series. Written to the archive as raw bytes, so the
// layout below is a file format.
struct TestRecord {
    uint8_t reserved0;
    uint8_t seriesLength;
    uint8_t reserved2[2];
    uint8_t valueCount;
    uint8_t reserved5;
    uint16_t boundVoltage;
    uint16_t breakdownVoltage[kVoltageSlots];
    uint16_t meanVoltage;
    uint16_t rmsError;
    uint16_t variationPercent;
    uint8_t resetCause;
    uint8_t resetCount;
    SystemTime testTime;
    VerdictBlock verdict;
    RecordMarks marks;
    char protocolText[kProtocolTextCount][kProtocolTextSize];
    DeviceSettings settingsSnapshot;
    uint16_t crc;
    uint8_t reserved3414[2];
};
static_assert(sizeof(TestRecord) == 3416, "TestRecord is the archive's record");
static_assert(offsetof(TestRecord, seriesLength) == 1, "layout");
static_assert(offsetof(TestRecord, reserved2) == 2, "layout");
static_assert(offsetof(TestRecord, valueCount) == 4, "layout");
static_assert(offsetof(TestRecord, reserved5) == 5, "layout");
static_assert(offsetof(TestRecord, boundVoltage) == 6, "layout");
static_assert(offsetof(TestRecord, breakdownVoltage) == 8, "layout");
static_assert(offsetof(TestRecord, meanVoltage) == 20, "layout");
static_assert(offsetof(TestRecord, rmsError) == 22, "layout");
static_assert(offsetof(TestRecord, variationPercent) == 24, "layout");
static_assert(offsetof(TestRecord, resetCause) == 26, "layout");
static_assert(offsetof(TestRecord, resetCount) == 27, "layout");
static_assert(offsetof(TestRecord, testTime) == 28, "layout");
static_assert(offsetof(TestRecord, verdict) == 44, "layout");
static_assert(offsetof(TestRecord, marks) == 54, "layout");
static_assert(offsetof(TestRecord, protocolText) == 64, "layout");
static_assert(offsetof(TestRecord, settingsSnapshot) == 3392, "layout");
static_assert(offsetof(TestRecord, crc) == 3412, "layout");
static_assert(offsetof(TestRecord, reserved3414) == 3414, "layout");

// How many voltage slots hold values. The instrument or a damaged archive may
// claim more than there are slots; nothing may read past them.
inline int StoredValueCount(const TestRecord& record) {
    return record.valueCount < kVoltageSlots ? record.valueCount : kVoltageSlots;
}

inline uint32_t AmendedAt(const TestRecord& r) {
    return r.marks.amendedAt[0] | static_cast<uint32_t>(r.marks.amendedAt[1]) << 16;
}
inline void SetAmendedAt(TestRecord& r, uint32_t seconds) {
    r.marks.amendedAt[0] = static_cast<uint16_t>(seconds);
    r.marks.amendedAt[1] = static_cast<uint16_t>(seconds >> 16);
}

// The first 64 bytes: what the service data log keeps of a series.
struct RecordHead {
    uint8_t bytes[kRecordHeadSize];
};
static_assert(sizeof(RecordHead) == 64, "record head");
