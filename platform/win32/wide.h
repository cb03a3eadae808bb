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

// UTF-8 and UTF-16, for what speaks UTF-8 rather than 1251: the database's
// statements, the console tool's arguments, the exported file's locale texts.
// A text that does not convert comes back empty.
inline std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}
inline std::string Utf8FromWide(const wchar_t* text) {
    const int length = text ? lstrlenW(text) : 0;
    if (length == 0) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], n, nullptr, nullptr);
    return out;
}

// Window texts in 1251, through the wide messages, whatever the system's code page.
inline void SetWindowText1251(HWND window, const char* text) { SetWindowTextW(window, Wide(text).c_str()); }
inline void SetItemText1251(HWND dialog, int id, const char* text) { SetDlgItemTextW(dialog, id, Wide(text).c_str()); }
inline std::string WindowText1251(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, &text[0], length + 1);
    return Narrow(text.c_str(), length);
}
// Copies at most size - 1 characters; returns the length copied.
inline int WindowTextInto(HWND window, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = '\0';
    if (!window) return 0;
    std::wstring text(static_cast<size_t>(size), L'\0');
    int length = static_cast<int>(SendMessageW(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(&text[0])));
    return NarrowInto(text.c_str(), length, buffer, size);
}
inline int ItemTextInto(HWND dialog, int id, char* buffer, int size) {
    return WindowTextInto(GetDlgItem(dialog, id), buffer, size);
}
// A message whose lParam is a text (CB_ADDSTRING, LB_ADDSTRING, SB_SETTEXT ...).
inline LRESULT SendText1251(HWND window, UINT message, WPARAM wParam, const char* text) {
    std::wstring wide = Wide(text);
    return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}
inline int MessageBox1251(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), style);
}

}  // namespace platform
