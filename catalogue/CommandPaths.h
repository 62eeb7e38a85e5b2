#pragma once
// Where a command's three items live, and the path helpers they rest on.
// Paths are built by plain concatenation; nothing is quoted or escaped.
#include "apppaths/AppPathsScope.h"
#include "framework/PathText.h"
#include "framework/ProgramFolders.h"

#include <string>

std::wstring CmdsFolder(CommandScope scope = CommandScope::machine);
std::wstring CommandLinkPath(const std::wstring& name, CommandScope scope = CommandScope::machine);
std::wstring CommandPropertiesPath(const std::wstring& name, CommandScope scope = CommandScope::machine);

