#pragma once
// The program's texts are UTF-16; the export file, the console and the log
// are UTF-8; legacy properties files and library messages (an exception's
// what()) are in the ANSI code page. Every conversion between them.
#include "framework/CodePageConverter.h"

#include <optional>
#include <string>
#include <string_view>

// ANSI code page to UTF-16; false when the text holds bytes the code page
// does not map (nothing is guessed).
bool AnsiToUtf16(const std::string& text, std::u16string& wide);

// ANSI text as UTF-8; nullopt when it holds bytes the code
// page cannot read, or reads in a way that would not give the same bytes
// back (the text is then never written in another form).
std::optional<std::string> AnsiToUtf8(const std::string& text);
// UTF-8 text in the ANSI code page; nullopt when a character has no exact
// counterpart there (never a best-fit or '?' stand-in) or the text holds a
// zero character.
std::optional<std::string> Utf8ToAnsi(const std::string& text);

// The two above as a converter for platform-free code: the process's ANSI
// code page (or the one the services name).
CodePageConverter AnsiCodePageConverter();

// UTF-8 (the platform-free rules, the export file, the console and the
// log) and UTF-16 (the Win32 calls); nullopt when the text is not well
// formed (bytes that are not UTF-8, an unpaired surrogate): nothing is
// guessed or replaced.
std::optional<std::wstring> Utf8ToWide(std::string_view text);
std::optional<std::string> WideToUtf8(std::wstring_view text);
// UTF-8 for showing (messages of the platform-free rules): a byte that is
// not UTF-8 shows as U+FFFD. Never for a name or path that is used.
std::wstring ShownUtf8(std::string_view text);
// UTF-16 for showing in UTF-8 (reports, the console, the log): half a
// surrogate pair shows as U+FFFD. Never for a name or path that is used.
std::string ShownAsUtf8(std::wstring_view text);
