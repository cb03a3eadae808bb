// Our own private-profile (INI) functions over the fake's in-memory files,
// with the reading rules of the Windows profile API, so the settings logic is
// tested natively.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/files.h"

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::vector<std::string> Lines(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t c : bytes) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool IsSection(const std::string& line, std::string* name) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    *name = Trim(t.substr(1, close - 1));
    return true;
}

bool IsKey(const std::string& line, const char* key, std::string* value) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    if (!SameName(Trim(line.substr(0, eq)), key)) return false;
    *value = line.substr(eq + 1);
    return true;
}

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
    std::string fallbackText = Trim(fallback ? fallback : "");
    if (!fake::FileExists(path)) return CopyOut(fallbackText, buffer, size);
    std::string current, value;
    for (const std::string& line : Lines(fake::FileBytes(path))) {
        std::string name;
        if (IsSection(line, &name)) {
            current = name;
            continue;
        }
        if (SameName(current, section) && IsKey(line, key, &value)) {
            std::string v = Trim(value);
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return CopyOut(v, buffer, size);
        }
    }
    return CopyOut(fallbackText, buffer, size);
}

bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
    // A file another opener holds cannot be written, as on Windows.
    platform::FileHandle probe = platform::OpenExclusive(path, platform::OpenMode::WriteAlways);
    if (probe == platform::kNoFile) return false;
    platform::CloseFile(probe);
    std::vector<std::string> lines = fake::FileExists(path) ? Lines(fake::FileBytes(path)) : std::vector<std::string>{};
    std::string current, old;
    int sectionEnd = -1;  // index after the last line of the section
    bool replaced = false;
    for (size_t i = 0; i < lines.size() && !replaced; ++i) {
        std::string name;
        if (IsSection(lines[i], &name)) {
            current = name;
            if (SameName(current, section)) sectionEnd = static_cast<int>(i) + 1;
            continue;
        }
        if (SameName(current, section)) {
            if (IsKey(lines[i], key, &old)) {
                lines[i] = std::string(key) + "=" + value;
                replaced = true;
            } else if (!Trim(lines[i]).empty()) {
                sectionEnd = static_cast<int>(i) + 1;
            }
        }
    }
    if (!replaced) {
        std::string entry = std::string(key) + "=" + value;
        if (sectionEnd >= 0) {
            lines.insert(lines.begin() + sectionEnd, entry);
        } else {
            lines.push_back(std::string("[") + section + "]");
            lines.push_back(entry);
        }
    }
    std::vector<uint8_t>& bytes = fake::FileBytes(path);
    bytes.clear();
    for (const std::string& line : lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return true;
}

}  // namespace platform
