#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/organisation_name_edit.h"

TEST(OrganisationNameForEdit, LineBreaksBecomeCrLf) {
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"ООО Лаборатория", "ООО Лаборатория"},
        {"ООО Лаборатория \nг. Тверь", "ООО Лаборатория\r\nг. Тверь"},  // as read back from the file
        {"a\nb", "a\r\nb"},
        {"a\r\nb \n\nc", "a\r\nb\r\n\r\nc"},
        {"a  \nb", "a \r\nb"},  // a blank the user typed before the break stays
        {"", ""},
    };
    for (const auto& c : cases) {
        char out[64];
        OrganisationNameForEdit(c.stored, out, sizeof out);
        EXPECT_EQ(std::string(out), c.shown) << c.stored;
    }
}

TEST(OrganisationNameForEdit, CutsAtTheBufferWithoutSplittingABreak) {
    char out[5];
    OrganisationNameForEdit("abc\nd", out, sizeof out);
    EXPECT_EQ(std::string(out), "abc");
    OrganisationNameForEdit("ab\ncd", out, sizeof out);
    EXPECT_EQ(std::string(out), "ab\r\n");
    std::string big(2000, 'x');
    char name[1024];
    OrganisationNameForEdit(big.c_str(), name, sizeof name);
    EXPECT_EQ(std::string(name).size(), 1023u);
}
