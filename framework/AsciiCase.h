#pragma once
// Case rules that hold in every code page and in UTF-16: only A-Z and a-z
// pair up, so a byte of a multi-byte character is never changed. The
// registry compares names the same way.
#include <string>
#include <string_view>

template <typename Char>
constexpr Char AsciiLower(Char c)
{
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
std::basic_string<Char> AsciiLower(std::basic_string<Char> text)
{
    for (Char& c : text)
        c = AsciiLower(c);
    return text;
}

namespace ascii_detail {

template <typename Char>
bool Equal(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

} // namespace ascii_detail

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return ascii_detail::Equal(a, b);
}

inline bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b)
{
    return ascii_detail::Equal(a, b);
}

inline bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b)
{
    return ascii_detail::Equal(a, b);
}

inline bool StartsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
