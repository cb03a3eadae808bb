// Private-profile (INI) lookups and updates on a file's bytes, with the Windows reading rules.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The value of key in section (names without regard to case), blanks around
// it dropped and one pair of enclosing quotes removed; false when absent.
bool ProfileLookup(const std::vector<uint8_t>& bytes, const char* section, const char* key, std::string* value);
// Sets key in section as the profile API does: replaced in place, else added
// after the section's last line, else a new section at the end. Every other
// byte of a line stays; lines end in CR LF afterwards.
void ProfileUpdate(std::vector<uint8_t>* bytes, const char* section, const char* key, const char* value);
// The fallback as the profile API returns it: blanks around it dropped.
std::string ProfileFallback(const char* fallback);

}  // namespace platform
