// The proposed protocol file name and the causes of a failed save.
#include "protocol/protocol_file.h"

#include <cstdio>
#include <cstring>

#include "protocol/voltage_text.h"

namespace {

// A number typed at length would push the date out of the dialog's field.
constexpr size_t kLongestNumber = 80;

bool ForbiddenInFileName(unsigned char c) { return c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr; }

// Windows drops blanks and dots at a name's end, and a number of only
// those would leave a name that ends in the blank before "от".
std::string FileNamePart(std::string text) {
    if (text.size() > kLongestNumber) text.resize(kLongestNumber);
    for (char& c : text)
        if (ForbiddenInFileName(static_cast<unsigned char>(c))) c = '-';
    const size_t first = text.find_first_not_of(" .");
    const size_t last = text.find_last_not_of(" .");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

}  // namespace

std::string ProposedProtocolFileName(const TestRecord& record) {
    const std::string number = FileNamePart(SlotText(record.protocolText[0], kProtocolTextSize));
    char date[32];
    std::snprintf(date, sizeof date, "%02u.%02u.%04u", unsigned(record.testTime.wDay), unsigned(record.testTime.wMonth),
                  unsigned(record.testTime.wYear));
    return "Протокол " + (number.empty() ? std::string() : number + " ") + "от " + date;
}

std::string SaveFailedText(uint32_t systemError, bool fileExisted) {
    const char* cause = nullptr;
    switch (systemError) {
        case 3: cause = "папка не найдена"; break;                       // ERROR_PATH_NOT_FOUND
        case 5: cause = fileExisted ? "нет доступа к файлу" : "нет доступа к папке"; break;  // ERROR_ACCESS_DENIED
        case 19: cause = "диск защищен от записи"; break;                 // ERROR_WRITE_PROTECT
        case 32:                                                          // ERROR_SHARING_VIOLATION
        case 33: cause = "файл открыт в другой программе"; break;         // ERROR_LOCK_VIOLATION
        case 39:                                                          // ERROR_HANDLE_DISK_FULL
        case kErrorDiskFull: cause = "на диске нет места"; break;
        case 123: cause = "недопустимое имя файла"; break;                // ERROR_INVALID_NAME
        default: break;
    }
    return cause ? std::string("Ошибка сохранения файла: ") + cause + "." : "Ошибка сохранения файла.";
}
