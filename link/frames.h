#pragma once
// Command bytes and frames of both protocol generations.
#include <cstddef>
#include <cstdint>

// Frames of both protocol generations. Generation 1 sends bare command bytes
// and answers with frames that start FF FF FF; generation 2 frames carry
// their length in byte 1 and end in the word-wise CRC-32.
namespace command {
constexpr uint8_t kVersion = 0x00;
constexpr uint8_t kIdlePoll = 0x01;
constexpr uint8_t kReadSettings = 0x02;
constexpr uint8_t kWriteSettings = 0x05;
constexpr uint8_t kReadLogChunk = 0x08;
constexpr uint8_t kEraseLog = 0x09;
constexpr uint8_t kStoredResult = 0x11;
constexpr uint8_t kResetInfo = 0x13;
constexpr uint8_t kResults = 0x20;
constexpr uint8_t kStop = 0x41;
constexpr uint8_t kStart = 0x42;
constexpr uint8_t kUp = 0x44;
constexpr uint8_t kDown = 0x48;
constexpr uint8_t kSelect = 0x50;
constexpr uint8_t kMenu = 0x60;
}  // namespace command

constexpr size_t kShortFrameSize = 8;
constexpr size_t kArgumentFrameSize = 12;
constexpr size_t kStoredResultFrameSize = 8;
constexpr size_t kSettingsBlockSize = 64;
constexpr size_t kSettingsFrameSize = 72;

void BuildShortFrame(uint8_t out[kShortFrameSize], uint8_t code);
void BuildArgumentFrame(uint8_t out[kArgumentFrameSize], uint8_t code, uint32_t argument);
void BuildStoredResultFrame(uint8_t out[kStoredResultFrameSize], uint16_t index);
void BuildSettingsFrame(uint8_t out[kSettingsFrameSize], const uint8_t block[kSettingsBlockSize]);

enum class FrameCheck { Ok, Incomplete, BadCrc };
// A received generation-2 frame: at least its length L (byte 1) must have
// been read and the CRC over L bytes, its stored CRC included, must be 0.
// Never reads beyond count.
FrameCheck CheckGen2Frame(const uint8_t* buffer, uint32_t count);
// Frame length of a generation-2 answer that passed CheckGen2Frame.
inline uint32_t Gen2FrameLength(const uint8_t* buffer) { return buffer[1]; }

constexpr uint32_t kGen1MinAnswer = 5;
constexpr uint32_t kGen1MaxAnswer = 10000;
// A generation-1 answer: 5..10000 bytes, FF FF FF, a type other than FF.
bool Gen1HeaderOk(const uint8_t* buffer, uint32_t count);
