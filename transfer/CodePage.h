#pragma once
// The export file is UTF-8; the program's texts are in its ANSI code page.
#include <optional>
#include <string>

// The program's ANSI text as UTF-8.
std::string AnsiToUtf8(const std::string& text);

// UTF-8 text in the ANSI code page; nullopt when a character has no exact
// counterpart there (never a best-fit or '?' stand-in) or the text holds a
// zero character.
std::optional<std::string> Utf8ToAnsi(const std::string& text);
