// The words for the system error codes a file operation of the program can meet.
#include "platform/file_errors.h"

#include "platform/files.h"

namespace platform {
namespace {

struct Cause {
    uint32_t code;
    const char* words;
};

// Codes as Windows numbers them; Wine maps the Unix errors onto the same.
constexpr Cause kCauses[] = {
    {kErrorDiskFull, "на диске нет места"},
    {kErrorHandleDiskFull, "на диске нет места"},
    {kErrorAccessDenied, "нет доступа к файлу"},
    {19, "диск защищен от записи"},         // ERROR_WRITE_PROTECT
    {kErrorSharingViolation, "файл занят другой программой"},
    {33, "файл занят другой программой"},   // ERROR_LOCK_VIOLATION
    {kErrorPathNotFound, "папка не найдена"},
    {kErrorFileNotFound, "файл не найден"},
    {21, "диск не готов"},                  // ERROR_NOT_READY
    {kErrorWriteFault, "ошибка записи на диск"},
    {23, "ошибка записи на диск"},          // ERROR_CRC
    {31, "ошибка записи на диск"},          // ERROR_GEN_FAILURE
    {1117, "ошибка записи на диск"},        // ERROR_IO_DEVICE
    {53, "нет связи с сетевой папкой"},     // ERROR_BAD_NETPATH
    {59, "нет связи с сетевой папкой"},     // ERROR_UNEXP_NET_ERR
    {64, "нет связи с сетевой папкой"},     // ERROR_NETNAME_DELETED
    {67, "нет связи с сетевой папкой"},     // ERROR_BAD_NET_NAME
    {1231, "нет связи с сетевой папкой"},   // ERROR_NETWORK_UNREACHABLE
    {8, "не хватает памяти"},               // ERROR_NOT_ENOUGH_MEMORY
    {14, "не хватает памяти"},              // ERROR_OUTOFMEMORY
    {206, "слишком длинный путь к файлу"},  // ERROR_FILENAME_EXCED_RANGE
};

}  // namespace

std::string FileErrorCause(uint32_t systemError) {
    for (const Cause& c : kCauses)
        if (c.code == systemError) return c.words;
    return "ошибка Windows " + std::to_string(systemError);
}

}  // namespace platform
