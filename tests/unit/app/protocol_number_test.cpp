// The next protocol number: the counter found and counted up at its width.
#include <gtest/gtest.h>

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
