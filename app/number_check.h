#pragma once
// The protocol number against the archive: ПУСК's question, and the next number no series holds.
#include <string>

// Before ПУСК: true when the number field's number is in no archived series,
// or the user chose to go on with it anyway ("Нет" is the default answer).
bool StartWithNumberConfirmed();
// What the number field proposes after a series archived under number: the
// next number that no series of the archive goes by.
std::string NextFreeNumberAfter(const std::string& number);
