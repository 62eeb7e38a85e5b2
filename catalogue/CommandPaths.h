#pragma once
// Where a command's three items live, and the path helpers they rest on.
// Paths are built by plain concatenation; nothing is quoted or escaped.
#include "apppaths/AppPathsScope.h"
#include "framework/PathText.h"
#include "framework/ProgramFolders.h"

#include <string>

// Text rule, platform-free (CommandPathRules.cpp).
// An App Paths entry is a command's own when its default value, quotes
// stripped, names the command's shortcut; ASCII letters compare without case.
bool IsOwnEntryValue(const std::string& value, const std::string& linkPath);


std::string CmdsFolder(CommandScope scope = CommandScope::machine);
std::string CommandLinkPath(const std::string& name, CommandScope scope = CommandScope::machine);
std::string CommandPropertiesPath(const std::string& name, CommandScope scope = CommandScope::machine);

