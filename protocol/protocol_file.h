// The protocol document's file: the name the save dialog proposes, and what a failed save says.
#pragma once
#include <cstdint>
#include <string>

#include "common/test_record.h"

// "Протокол <number> от ДД.ММ.ГГГГ" from the protocol number and the series'
// date, with the characters Windows forbids in a file name (\ / : * ? " < > |
// and control characters) replaced by "-"; "Протокол от ДД.ММ.ГГГГ" without
// a number. No extension: the dialog adds ".rtf".
std::string ProposedProtocolFileName(const TestRecord& record);

// The failed save's box text from the system's error code, in the words of
// platform::FileErrorCause: "Ошибка сохранения файла: на диске нет места."
// and the like. fileExisted tells a protected file from a protected folder.
std::string SaveFailedText(uint32_t systemError, bool fileExisted);
