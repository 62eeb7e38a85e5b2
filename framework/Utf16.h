#pragma once
// UTF-16 as Win32 holds it (wchar_t) and as the platform-free rules hold it
// (char16_t, which stays 16 bits where wchar_t does not): the same units.
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows code: wchar_t holds UTF-16 units");

inline std::wstring ToWide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

inline std::u16string ToUtf16(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

// ASCII text (the store contract's names) as UTF-16.
inline std::wstring AsciiToWide(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}
