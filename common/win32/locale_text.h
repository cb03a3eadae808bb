// A setting of the user's Windows locale (list separator, decimal symbol) for the CSV exports.
#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/wide.h"

// The setting in UTF-8, or fallback when unset.
inline std::string LocaleText(LCTYPE what, const char* fallback) {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, what, text, 8) <= 1) return fallback;
    const std::string utf8 = platform::Utf8FromWide(text);
    return utf8.empty() ? fallback : utf8;
}
