#pragma once
// Where a command's three items live, and the path helpers they rest on.
// Paths are built by plain concatenation; nothing is quoted or escaped.
#include "apppaths/AppPathsScope.h"
#include "framework/PathText.h"
#include "framework/ProgramFolders.h"

#include <string>

std::string CmdsFolder(CommandScope scope = CommandScope::machine);
std::string CommandLinkPath(const std::string& name, CommandScope scope = CommandScope::machine);
std::string CommandPropertiesPath(const std::string& name, CommandScope scope = CommandScope::machine);

