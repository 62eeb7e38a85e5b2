#pragma once
// The program's texts are in the ANSI code page; the registry's names are
// UTF-16 and the export file is UTF-8. Every conversion between them.
#include "framework/CodePageConverter.h"

#include <optional>
#include <string>

// ANSI code page to UTF-16; false when the text holds bytes the code page
// does not map (nothing is guessed).
bool AnsiToUtf16(const std::string& text, std::u16string& wide);
// UTF-16 to the ANSI code page, for showing; what it cannot hold becomes '?'.
std::string Utf16ToAnsi(const std::u16string& wide);

// The program's ANSI text for a wide Windows call, and a wide text shown in
// the program's; what the code page cannot hold becomes '?'. Windows only.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const wchar_t* text, size_t length);

// UTF-8 of the platform-free rules and UTF-16 of the Win32 calls around
// them; nullopt for malformed UTF-8 or an unpaired surrogate (nothing is
// replaced). Windows only.
std::optional<std::wstring> Utf8ToWide(const std::string& text);
std::optional<std::string> WideToUtf8(const std::wstring& text);

// The program's ANSI text as UTF-8; nullopt when it holds bytes the code
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
