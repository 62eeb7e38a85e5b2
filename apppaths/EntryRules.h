#pragma once
// Reading an App Paths entry's default value, platform-free.
#include <string>

// Drops a trailing double quote, then a leading one.
std::string StripTargetQuotes(const std::string& path);
