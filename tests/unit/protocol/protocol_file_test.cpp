// The file name the save dialog proposes, and why a save failed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "protocol/protocol_file.h"

TEST(ProposedProtocolFileName, NumberAndDateWithoutWhatWindowsForbids) {
    const std::string longNumber(255, '7');
    const struct { const char* number; const char* name; } cases[] = {
        {"П-18а/2026", "Протокол П-18а-2026 от 09.12.2026"},
        {"a\\b:c*d?e\"f<g>h|i\tj", "Протокол a-b-c-d-e-f-g-h-i-j от 09.12.2026"},
        {"", "Протокол от 09.12.2026"},
        {" .. ", "Протокол от 09.12.2026"},  // Windows would drop the dots and the blank
        {longNumber.c_str(), nullptr},  // a long number leaves room for the folder
    };
    for (const auto& c : cases) {
        TestRecord record{};
        std::strncpy(record.protocolText[0], c.number, kProtocolTextSize - 1);
        record.testTime = {2026, 12, 0, 9, 0, 0, 0, 0};
        if (c.name) EXPECT_EQ(ProposedProtocolFileName(record), c.name) << c.number;
        else EXPECT_LT(ProposedProtocolFileName(record).size(), 120u);
    }
}

TEST(SaveFailedText, SaysWhyTheDocumentWasNotSaved) {
    const struct { uint32_t error; bool existed; const char* text; } cases[] = {
        {5, false, "Ошибка сохранения файла: нет доступа к папке."},
        {5, true, "Ошибка сохранения файла: нет доступа к файлу."},
        {112, false, "Ошибка сохранения файла: на диске нет места."},
        {32, true, "Ошибка сохранения файла: файл занят другой программой."},
        {1234, false, "Ошибка сохранения файла: ошибка Windows 1234."},
    };
    for (const auto& c : cases) EXPECT_EQ(SaveFailedText(c.error, c.existed), c.text) << c.error;
}
