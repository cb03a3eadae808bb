#pragma once
// The number the next protocol is likely to get, proposed after a series.
#include <functional>
#include <string>

#include "platform/system_time.h"

// The number one up: the last run of digits increased by one at its width
// ("007" -> "008", "099" -> "100"). A year closing the number (a separator
// and four digits at the end, as in "П-17/2026") is not the counter when
// digits come before it. Without digits, or when the result would not fit a
// protocol text, the number comes back as it is.
std::string NextProtocolNumber(const std::string& number);
// The next number that no series holds yet: NextProtocolNumber over and
// over while taken says the archive holds it. The plain next one when the
// number does not count up or every one tried is taken.
std::string NextFreeProtocolNumber(const std::string& number, const std::function<bool(const std::string&)>& taken);
// ПУСК's question when the archive holds number already, for the series
// measured at testTime.
std::string NumberInArchiveQuestion(const std::string& number, const SystemTime& testTime);
