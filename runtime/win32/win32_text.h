#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Windows keeps texts as UTF-16 in wchar_t, as the program keeps them in
// char16_t: the conversions copy code units unchanged.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }

inline std::u16string ToU16String(std::wstring_view text) { return {text.begin(), text.end()}; }

// The window's whole text, however long.
inline std::wstring TextOfWindow(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
