// The profile API's reading and writing rules over bytes, so that the
// product and the fake read and write INI files alike, in the file's own code
// page (Windows-1251) rather than the system's.
#include "platform/profile_text.h"

#include <cctype>
#include <cstring>

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

}  // namespace

namespace platform {

std::string ProfileFallback(const char* fallback) { return Trim(fallback ? fallback : ""); }

bool ProfileLookup(const std::vector<uint8_t>& bytes, const char* section, const char* key, std::string* value) {
    std::string current, raw;
    for (const std::string& line : Lines(bytes)) {
        std::string name;
        if (IsSection(line, &name)) {
            current = name;
            continue;
        }
        if (SameName(current, section) && IsKey(line, key, &raw)) {
            std::string v = Trim(raw);
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            *value = v;
            return true;
        }
    }
    return false;
}

void ProfileUpdate(std::vector<uint8_t>* bytes, const char* section, const char* key, const char* value) {
    std::vector<std::string> lines = Lines(*bytes);
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
    bytes->clear();
    for (const std::string& line : lines) {
        bytes->insert(bytes->end(), line.begin(), line.end());
        bytes->push_back('\r');
        bytes->push_back('\n');
    }
}

}  // namespace platform
