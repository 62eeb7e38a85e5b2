#pragma once
// Small text helpers: bounded conversion to UTF-16 where narrow text meets
// COM and shell calls, path extensions, escaping by doubling. Only the
// code-page conversion needs the system (TextTools.cpp); the rest is inline
// here, so that it builds without windows.h.
#include <cstddef>
#include <string>
#include <string_view>

namespace tesselator {

// Converts from the ANSI code page into out[capacity]; false (and out empty)
// when the text with its terminator does not fit.
bool ToWide(const char* text, wchar_t* out, int capacity);
// Empty for text the conversion cannot take (over INT_MAX bytes).
std::wstring ToWide(std::string_view text);

// Copies text with its terminator into out[capacity]; false (and out empty,
// when capacity allows) when it does not fit. Nothing past out[capacity-1]
// is written.
inline bool CopyWhole(std::wstring_view text, wchar_t* out, size_t capacity)
{
    if (!out || capacity == 0)
        return false;
    if (text.size() >= capacity) {
        out[0] = L'\0';
        return false;
    }
    text.copy(out, text.size());
    out[text.size()] = L'\0';
    return true;
}

// The path with the extension of its last component replaced (or added).
inline std::string ReplaceExtension(std::string_view path, std::string_view extension)
{
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    std::string result(hasExtension ? path.substr(0, dot) : path);
    result += extension;
    return result;
}

// Every occurrence of c written twice (quotes in scripts, '&' in menus).
inline std::string DoubleEvery(std::string_view text, char c)
{
    std::string out;
    out.reserve(text.size());
    for (const char each : text) {
        out += each;
        if (each == c)
            out += c;
    }
    return out;
}

} // namespace tesselator
