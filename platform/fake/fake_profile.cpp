// Our own private-profile (INI) functions over the fake's in-memory files,
// with the reading rules of the Windows profile API, so the settings logic is
// tested natively.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "platform/profile_text.h"

namespace {

uint32_t CopyOut(const std::string& text, char* buffer, uint32_t size) {
    if (size == 0) return 0;
    uint32_t n = std::min<uint32_t>(static_cast<uint32_t>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return n;
}

}  // namespace

namespace platform {

uint32_t ProfileGetString(const char* section, const char* key, const char* fallback, char* buffer,
                          uint32_t size, const char* path) {
    std::string value;
    if (fake::FileExists(path) && ProfileLookup(fake::FileBytes(path), section, key, &value))
        return CopyOut(value, buffer, size);
    return CopyOut(ProfileFallback(fallback), buffer, size);
}

bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
    // A file another opener holds cannot be written, as on Windows.
    platform::FileHandle probe = platform::OpenExclusive(path, platform::OpenMode::WriteAlways);
    if (probe == platform::kNoFile) return false;
    platform::CloseFile(probe);
    ProfileUpdate(&fake::FileBytes(path), section, key, value);
    return true;
}

}  // namespace platform
