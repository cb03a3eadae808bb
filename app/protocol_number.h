#pragma once
// The number the next protocol is likely to get, proposed after a series.
#include <string>

// The number one up: the last run of digits increased by one at its width
// ("007" -> "008", "099" -> "100"). A year closing the number (a separator
// and four digits at the end, as in "П-17/2026") is not the counter when
// digits come before it. Without digits, or when the result would not fit a
// protocol text, the number comes back as it is.
std::string NextProtocolNumber(const std::string& number);
