// Conversions between the program's Windows-1251 texts and the UTF-16 of the wide Win32 API.
#pragma once
#include <windows.h>
#include <string>

namespace platform {

// Code page 1251 always, never the system's ANSI code page: on an English
// Windows that is 1252 and every Cyrillic letter would turn into a Latin one.
constexpr UINT kTextCodePage = 1251;

inline std::wstring Wide(const char* text, int length = -1) {
    if (!text) return std::wstring();
    if (length < 0) length = lstrlenA(text);
    std::wstring out(static_cast<size_t>(length), L'\0');
    int n = length ? MultiByteToWideChar(kTextCodePage, 0, text, length, &out[0], length) : 0;
    out.resize(static_cast<size_t>(n > 0 ? n : 0));
    return out;
}
inline std::wstring Wide(const std::string& text) { return Wide(text.data(), static_cast<int>(text.size())); }

// Characters that code page 1251 lacks become '?', as the A-functions did.
inline std::string Narrow(const wchar_t* text, int length = -1) {
    if (!text) return std::string();
    if (length < 0) length = lstrlenW(text);
    std::string out(static_cast<size_t>(length), '\0');
    int n = length ? WideCharToMultiByte(kTextCodePage, 0, text, length, &out[0], length, nullptr, nullptr) : 0;
    out.resize(static_cast<size_t>(n > 0 ? n : 0));
    return out;
}
inline std::string Narrow(const std::wstring& text) { return Narrow(text.data(), static_cast<int>(text.size())); }

// Copies at most size - 1 characters of a wide text into a caller's 1251
// buffer (a single-byte code page: one byte a character); returns the length.
inline int NarrowInto(const wchar_t* text, int length, char* buffer, int size) {
    if (size <= 0) return 0;
    if (length > size - 1) length = size - 1;
    int n = length > 0 ? WideCharToMultiByte(kTextCodePage, 0, text, length, buffer, size - 1, nullptr, nullptr) : 0;
    if (n < 0) n = 0;
    buffer[n] = '\0';
    return n;
}

}  // namespace platform
