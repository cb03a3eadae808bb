// The words for the system error codes a file operation of the program can meet.
#include "platform/file_errors.h"

#include "platform/files.h"

namespace platform {
namespace {

struct Cause {
    uint32_t code;
    const char* words;
};

// Codes as Windows numbers them (platform/files.h); Wine maps the Unix errors onto the same.
constexpr Cause kCauses[] = {
    {kErrorDiskFull, "на диске нет места"},
    {kErrorHandleDiskFull, "на диске нет места"},
    {kErrorAccessDenied, "нет доступа к файлу"},
    {kErrorWriteProtect, "диск защищен от записи"},
    {kErrorSharingViolation, "файл занят другой программой"},
    {kErrorLockViolation, "файл занят другой программой"},
    {kErrorPathNotFound, "папка не найдена"},
    {kErrorFileNotFound, "файл не найден"},
    {kErrorNotReady, "диск не готов"},
    {kErrorWriteFault, "ошибка записи на диск"},
    {kErrorCrc, "ошибка записи на диск"},
    {kErrorGenFailure, "ошибка записи на диск"},
    {kErrorIoDevice, "ошибка записи на диск"},
    {kErrorBadNetPath, "нет связи с сетевой папкой"},
    {kErrorUnexpectedNetError, "нет связи с сетевой папкой"},
    {kErrorNetNameDeleted, "нет связи с сетевой папкой"},
    {kErrorBadNetName, "нет связи с сетевой папкой"},
    {kErrorNetworkUnreachable, "нет связи с сетевой папкой"},
    {kErrorNotEnoughMemory, "не хватает памяти"},
    {kErrorOutOfMemory, "не хватает памяти"},
    {kErrorFileNameTooLong, "слишком длинный путь к файлу"},
};

}  // namespace

std::string FileErrorCause(uint32_t systemError) {
    for (const Cause& c : kCauses)
        if (c.code == systemError) return c.words;
    return "ошибка Windows " + std::to_string(systemError);
}

}  // namespace platform
