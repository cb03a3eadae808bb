// The user's words for the system error codes of failed file operations.
#include <gtest/gtest.h>

#include "platform/file_errors.h"

TEST(FileErrors, EachCodeHasItsCause) {
    const struct { uint32_t code; const char* cause; } cases[] = {
        {112, "на диске нет места"},          {39, "на диске нет места"},
        {5, "нет доступа к файлу"},           {19, "диск защищен от записи"},
        {32, "файл занят другой программой"}, {33, "файл занят другой программой"},
        {3, "папка не найдена"},       {21, "диск не готов"},
        {29, "ошибка записи на диск"},        {64, "нет связи с сетевой папкой"},
        {1450, "ошибка Windows 1450"},        {0, "ошибка Windows 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::FileErrorCause(c.code), c.cause) << c.code;
}
