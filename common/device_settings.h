#pragma once
// The instrument's settings, as stored with every archived series.
#include <cstddef>
#include <cstdint>

// The instrument's settings as the program decodes them. The same 20 bytes
// are stored with every archived series, so the layout is a file format.
struct DeviceSettings {
    uint8_t countAndLift;     // bits 0-3 measurementCount, bits 4-7 tableLift
    uint8_t pauseAndFlags;    // bits 0-3 pauseMinutes, 4 altMethod, 5 errorOfMean, 6 preTestDelay, 7 sound
    uint16_t riseRate;        // 0.1 kV/s
    uint16_t maxVoltage;      // 0.1 kV
    uint16_t word6;           // carried, not interpreted
    uint16_t word8;
    uint16_t calibrationConstant;
    uint16_t word12;
    uint16_t word14;
    uint16_t adcOffset;
    uint16_t word18;
};
static_assert(sizeof(DeviceSettings) == 20, "DeviceSettings is part of the archive format");
static_assert(offsetof(DeviceSettings, pauseAndFlags) == 1, "layout");
static_assert(offsetof(DeviceSettings, riseRate) == 2, "layout");
static_assert(offsetof(DeviceSettings, maxVoltage) == 4, "layout");
static_assert(offsetof(DeviceSettings, word6) == 6, "layout");
static_assert(offsetof(DeviceSettings, word8) == 8, "layout");
static_assert(offsetof(DeviceSettings, calibrationConstant) == 10, "layout");
static_assert(offsetof(DeviceSettings, word12) == 12, "layout");
static_assert(offsetof(DeviceSettings, word14) == 14, "layout");
static_assert(offsetof(DeviceSettings, adcOffset) == 16, "layout");
static_assert(offsetof(DeviceSettings, word18) == 18, "layout");

namespace settings_bits {
constexpr uint8_t kAltMethod = 0x10;
constexpr uint8_t kErrorOfMean = 0x20;
constexpr uint8_t kPreTestDelay = 0x40;
constexpr uint8_t kSound = 0x80;
}  // namespace settings_bits

inline int MeasurementCount(const DeviceSettings& s) { return s.countAndLift & 0x0F; }
inline int TableLift(const DeviceSettings& s) { return s.countAndLift >> 4; }
inline int PauseMinutes(const DeviceSettings& s) { return s.pauseAndFlags & 0x0F; }
inline bool AltMethod(const DeviceSettings& s) { return (s.pauseAndFlags & settings_bits::kAltMethod) != 0; }
inline bool ErrorOfMean(const DeviceSettings& s) { return (s.pauseAndFlags & settings_bits::kErrorOfMean) != 0; }
inline bool PreTestDelay(const DeviceSettings& s) { return (s.pauseAndFlags & settings_bits::kPreTestDelay) != 0; }
inline bool Sound(const DeviceSettings& s) { return (s.pauseAndFlags & settings_bits::kSound) != 0; }
