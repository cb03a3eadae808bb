// Builds and checks the frames of both protocol generations.
#include "link/frames.h"

#include <cstring>

#include "link/crc32_words.h"

namespace {

void PutU32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

void CloseFrame(uint8_t* frame, uint16_t length) {
    PutU32(frame + length - 4, Crc32Words(frame, static_cast<uint16_t>(length - 4)));
}

}  // namespace

void BuildShortFrame(uint8_t out[kShortFrameSize], uint8_t code) {
    out[0] = code;
    out[1] = kShortFrameSize;
    out[2] = 0;
    out[3] = 0;
    CloseFrame(out, kShortFrameSize);
}

void BuildArgumentFrame(uint8_t out[kArgumentFrameSize], uint8_t code, uint32_t argument) {
    out[0] = code;
    out[1] = kArgumentFrameSize;
    out[2] = 0;
    out[3] = 0;
    PutU32(out + 4, argument);
    CloseFrame(out, kArgumentFrameSize);
}

void BuildStoredResultFrame(uint8_t out[kStoredResultFrameSize], uint16_t index) {
    out[0] = command::kStoredResult;
    out[1] = kStoredResultFrameSize;
    out[2] = static_cast<uint8_t>(index);
    out[3] = static_cast<uint8_t>(index >> 8);
    CloseFrame(out, kStoredResultFrameSize);
}

void BuildSettingsFrame(uint8_t out[kSettingsFrameSize], const uint8_t block[kSettingsBlockSize]) {
    out[0] = command::kWriteSettings;
    out[1] = kSettingsFrameSize;
    out[2] = 0;
    out[3] = 0;
    std::memcpy(out + 4, block, kSettingsBlockSize);
    CloseFrame(out, kSettingsFrameSize);
}

FrameCheck CheckGen2Frame(const uint8_t* buffer, uint32_t count) {
    if (count < 2) return FrameCheck::Incomplete;
    uint32_t length = buffer[1];
    if (count < length) return FrameCheck::Incomplete;
    // A length that is not a multiple of 4 pulls the bytes after it into the
    // CRC; take them only from what was actually read, zeros beyond.
    uint8_t copy[256 + 4] = {};
    uint32_t padded = (length + 3) & ~3u;
    std::memcpy(copy, buffer, padded < count ? padded : count);
    return Crc32Words(copy, static_cast<uint16_t>(length)) == 0 ? FrameCheck::Ok : FrameCheck::BadCrc;
}

bool Gen1HeaderOk(const uint8_t* buffer, uint32_t count) {
    return count >= kGen1MinAnswer && count <= kGen1MaxAnswer && buffer[0] == 0xFF && buffer[1] == 0xFF &&
           buffer[2] == 0xFF && buffer[3] != 0xFF;
}
