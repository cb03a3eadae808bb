// The platform-independent half of the SHA-256 seam: hex and the one-shot hash.
#include "platform/sha256.h"

namespace platform {

std::string HexLower(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * count);
    for (size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

std::string Sha256Hex(const void* bytes, size_t count) {
    Sha256 hash;
    uint8_t digest[kSha256Size];
    if (!hash.Add(bytes, count) || !hash.Finish(digest)) return std::string();
    return HexLower(digest, kSha256Size);
}

}  // namespace platform
