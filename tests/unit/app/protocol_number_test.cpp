// The next protocol number: the counter found and counted up at its width.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/protocol_number.h"

TEST(ProtocolNumber, CountsUpTheCounterAtItsWidth) {
    const struct { const char* number; const char* next; } cases[] = {
        {"П-17/2026", "П-18/2026"}, {"2026", "2027"},     {"007", "008"},        {"099", "100"},
        {"999", "1000"},            {"П-9", "П-10"},      {"П-2026", "П-2027"},  {"17-2026", "18-2026"},
        {"П-17/2026 ", "П-18/2026 "}, {"12/7", "12/8"},   {"П-17/12026", "П-17/12027"},
        {"2026/П-17", "2026/П-18"}, {"Протокол", "Протокол"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(NextProtocolNumber(c.number), c.next) << c.number;
    const std::string full(255, '9');
    EXPECT_EQ(NextProtocolNumber(full), full) << "one digit more would not fit the field";
}

TEST(ProtocolNumber, NextFreeSkipsTheNumbersTheArchiveHolds) {
    const struct { const char* number; std::set<std::string> taken; const char* next; } cases[] = {
        {"П-18/2026", {}, "П-19/2026"},
        {"П-18/2026", {"П-19/2026", "П-20/2026"}, "П-21/2026"},
        {"П-18а/2026", {}, "П-19а/2026"},
        {"П-18/2026", {"П-18/2026"}, "П-19/2026"},  // its own number does not count
        {"Протокол", {"Протокол"}, "Протокол"},     // nothing to count up
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextFreeProtocolNumber(c.number, [&](const std::string& n) { return c.taken.count(n) != 0; }), c.next)
            << c.number;
    // Every number taken: the search gives up on the plain next one.
    EXPECT_EQ(NextFreeProtocolNumber("7", [](const std::string&) { return true; }), "8");
}

TEST(ProtocolNumber, QuestionNamesTheNumberAndTheArchivedSeries) {
    EXPECT_EQ(NumberInArchiveQuestion("П-18а/2026", SystemTime{2026, 12, 3, 9, 7, 5, 59, 0}),
              "Протокол № П-18а/2026 уже есть в архиве (серия 09.12.2026 07:05). Продолжить?");
}
