#pragma once
// The archived record of one series, byte for byte as log.dat holds it.
#include <cstddef>
#include <cstdint>

#include "link/device_settings.h"
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
    uint8_t reserved10[10];     // bytes 54..63 of the record
};
static_assert(sizeof(VerdictBlock) == 20, "verdict block");
static_assert(offsetof(VerdictBlock, method) == 1, "layout");
static_assert(offsetof(VerdictBlock, normMinimum) == 2, "layout");
static_assert(offsetof(VerdictBlock, normGood) == 4, "layout");
static_assert(offsetof(VerdictBlock, dispersionRule) == 6, "layout");
static_assert(offsetof(VerdictBlock, dispersionPercent) == 7, "layout");
static_assert(offsetof(VerdictBlock, verdict) == 8, "layout");
static_assert(offsetof(VerdictBlock, deviations) == 9, "layout");
static_assert(offsetof(VerdictBlock, reserved10) == 10, "layout");

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
static_assert(offsetof(TestRecord, protocolText) == 64, "layout");
static_assert(offsetof(TestRecord, settingsSnapshot) == 3392, "layout");
static_assert(offsetof(TestRecord, crc) == 3412, "layout");
static_assert(offsetof(TestRecord, reserved3414) == 3414, "layout");

// How many voltage slots hold values. The instrument or a damaged archive may
// claim more than there are slots; nothing may read past them.
inline int StoredValueCount(const TestRecord& record) {
    return record.valueCount < kVoltageSlots ? record.valueCount : kVoltageSlots;
}

// The first 64 bytes: what the service data log keeps of a series.
struct RecordHead {
    uint8_t bytes[kRecordHeadSize];
};
static_assert(sizeof(RecordHead) == 64, "record head");
