#pragma once
// Rules on command names: which characters a name may hold, and its
// lower-case form, which is the command's identity everywhere. Templates
// over the character type: Win32 code checks its UTF-16 text, the fuzzers
// bytes.
#include <string>
#include <string_view>

// Digits, ASCII letters and ! # $ % & ( ) + - | { } _ @; nothing else, in
// any script.
template <typename Char>
constexpr bool IsLegalCommandChar(Char c)
{
    if ((c >= Char('0') && c <= Char('9')) || (c >= Char('A') && c <= Char('Z')) || (c >= Char('a') && c <= Char('z')))
        return true;
    for (const char sign : std::string_view("!#$%&()+-|{}_@"))
        if (c == Char(sign))
            return true;
    return false;
}

// Not empty, and every character legal.
template <typename String>
bool IsLegalCommandName(const String& name)
{
    if (name.empty())
        return false;
    for (const auto c : name)
        if (!IsLegalCommandChar(c))
            return false;
    return true;
}

// The lower-case form (Win32: CommandNameCase.cpp). A legal name is ASCII,
// so this is the registry's and the file system's case rule too.
std::wstring ToLowerCommandName(const std::wstring& name);
