#pragma once
// Where the program's ANSI text meets the registry's UTF-16 names.
#include <string>

// ANSI code page to UTF-16; false when the text holds bytes the code page
// does not map (nothing is guessed).
bool AnsiToUtf16(const std::string& text, std::u16string& wide);
// UTF-16 to the ANSI code page, for showing; what it cannot hold becomes '?'.
std::string Utf16ToAnsi(const std::u16string& wide);
