#pragma once
// Small text helpers: bounded conversion to UTF-16 where narrow text meets
// COM and shell calls, path extensions, escaping by doubling.
#include <windows.h>

#include <string>
#include <string_view>

namespace tesselator {

// Converts from the ANSI code page into out[capacity]; false (and out empty)
// when the text with its terminator does not fit.
bool ToWide(const char* text, wchar_t* out, int capacity);
std::wstring ToWide(std::string_view text);

// The path with the extension of its last component replaced (or added).
std::string ReplaceExtension(std::string_view path, std::string_view extension);

// Every occurrence of c written twice (quotes in scripts, '&' in menus).
std::string DoubleEvery(std::string_view text, char c);

} // namespace tesselator
