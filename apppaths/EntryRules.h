#pragma once
// Reading an App Paths entry's default value, platform-free.
#include <string>

// Drops a trailing double quote, then a leading one.
std::string StripTargetQuotes(const std::string& path);

// An App Paths entry is a command's own when its default value, quotes
// stripped, names the command's shortcut; ASCII letters compare without case.
bool IsOwnEntryValue(const std::string& value, const std::string& linkPath);
