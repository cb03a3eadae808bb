#pragma once
// The cause of a failed file operation in the user's words, from the system's error code.
#include <cstdint>
#include <string>

namespace platform {
// "на диске нет места", "нет доступа к файлу", ... for the system error code
// of a failed open or write; "ошибка Windows N" for a code without words.
std::string FileErrorCause(uint32_t systemError);
}  // namespace platform
