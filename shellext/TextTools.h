#pragma once
// Small platform-free text helpers: path extensions and escaping by
// doubling. Templates over the character type, so that the registrar's
// UTF-8 and the Win32 side's UTF-16 share them (and the fuzzers, where
// wchar_t is 32 bits, instantiate them with char and char16_t).
#include <cstddef>
#include <string>
#include <string_view>

namespace tesselator {

// The path with the extension of its last component replaced (or added).
template <typename Char>
std::basic_string<Char> ReplaceExtension(std::basic_string_view<Char> path, std::basic_string_view<Char> extension)
{
    size_t slash = std::basic_string_view<Char>::npos;
    for (size_t i = path.size(); i-- > 0;) {
        if (path[i] == Char('\\') || path[i] == Char('/')) {
            slash = i;
            break;
        }
    }
    const size_t dot = path.rfind(Char('.'));
    const bool hasExtension = dot != std::basic_string_view<Char>::npos &&
                              (slash == std::basic_string_view<Char>::npos || dot > slash);
    std::basic_string<Char> result(hasExtension ? path.substr(0, dot) : path);
    result += extension;
    return result;
}

// Every occurrence of c written twice (quotes in scripts, '&' in menus).
template <typename Char>
std::basic_string<Char> DoubleEvery(std::basic_string_view<Char> text, Char c)
{
    std::basic_string<Char> out;
    out.reserve(text.size());
    for (const Char each : text) {
        out += each;
        if (each == c)
            out += c;
    }
    return out;
}

} // namespace tesselator
