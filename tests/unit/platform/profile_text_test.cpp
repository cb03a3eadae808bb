// The INI reading and writing rules the program applies itself on every Windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile_text.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
std::string Text(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

TEST(ProfileText, LookupFollowsTheProfileApiRules) {
    const std::string ini =
        "[Programm]\r\nDirektor =  \"Иванов И.И.\" \r\nname=Лаб\n[other]\nDirektor=нет\r\n[ programm ]\r\nx=1";
    struct Case { const char* section; const char* key; bool found; const char* value; } cases[] = {
        {"Programm", "Direktor", true, "Иванов И.И."},  // blanks and one pair of quotes dropped
        {"PROGRAMM", "NAME", true, "Лаб"},              // names without regard to case, LF alone
        {"other", "Direktor", true, "нет"},
        {"Programm", "x", true, "1"},                   // a section may come back, blanks in its name
        {"Programm", "missing", false, ""},
        {"absent", "Direktor", false, ""},
    };
    for (const Case& c : cases) {
        std::string value;
        EXPECT_EQ(platform::ProfileLookup(Bytes(ini), c.section, c.key, &value), c.found) << c.section << c.key;
        if (c.found) EXPECT_EQ(value, c.value) << c.key;
    }
    EXPECT_EQ(platform::ProfileFallback("  0 "), "0");
}

TEST(ProfileText, UpdateReplacesAddsOrAppendsAndKeepsTheRest) {
    const std::string ini = "; кто\r\n[A]\r\nk=1\r\n\r\n[B]\r\nz=Ж\r\n";
    struct Case { const char* section; const char* key; const char* value; const char* after; } cases[] = {
        {"a", "K", "2", "; кто\r\n[A]\r\nK=2\r\n\r\n[B]\r\nz=Ж\r\n"},
        {"A", "new", "Щ", "; кто\r\n[A]\r\nk=1\r\nnew=Щ\r\n\r\n[B]\r\nz=Ж\r\n"},
        {"C", "c", "", "; кто\r\n[A]\r\nk=1\r\n\r\n[B]\r\nz=Ж\r\n[C]\r\nc=\r\n"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Bytes(ini);
        platform::ProfileUpdate(&bytes, c.section, c.key, c.value);
        EXPECT_EQ(Text(bytes), c.after) << c.section << "/" << c.key;
    }
    std::vector<uint8_t> empty;
    platform::ProfileUpdate(&empty, "Programm", "FirstRun", "0");
    EXPECT_EQ(Text(empty), "[Programm]\r\nFirstRun=0\r\n");
}

}  // namespace
