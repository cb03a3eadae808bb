// The proposed protocol file name and the causes of a failed save.
#include "protocol/protocol_file.h"

#include <cstdio>
#include <cstring>

#include "platform/file_errors.h"
#include "platform/files.h"
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
    // Refused where no file stood yet, the folder is what is closed.
    const std::string cause = systemError == platform::kErrorAccessDenied && !fileExisted
                                  ? "нет доступа к папке"
                                  : platform::FileErrorCause(systemError);
    return "Ошибка сохранения файла: " + cause + ".";
}
