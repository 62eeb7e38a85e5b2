#pragma once
// Reading an App Paths entry's default value, platform-free: templates over
// the string type, so Win32 code calls them on UTF-16 and the fuzzers on bytes.
#include "framework/AsciiCase.h"

#include <string>

// Drops a trailing double quote, then a leading one.
template <typename String>
String StripTargetQuotes(String path)
{
    using Char = typename String::value_type;
    if (!path.empty() && path.back() == Char('"'))
        path.pop_back();
    if (!path.empty() && path.front() == Char('"'))
        path.erase(0, 1);
    return path;
}

// An App Paths entry is a command's own when its default value, quotes
// stripped, names the command's shortcut; ASCII letters compare without case.
template <typename String>
bool IsOwnEntryValue(const String& value, const String& linkPath)
{
    return EqualIgnoringAsciiCase(value, linkPath);
}
