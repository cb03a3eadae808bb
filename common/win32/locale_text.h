// A setting of the user's Windows locale (list separator, decimal symbol) for the CSV exports.
#pragma once
#include <windows.h>

#include <string>

// The setting in UTF-8, or fallback when unset.
inline std::string LocaleText(LCTYPE what, const char* fallback) {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, what, text, 8) <= 1) return fallback;
    char utf8[32] = {};
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr) <= 1) return fallback;
    return utf8;
}
