#pragma once
// Every command's properties file, All users first, then Just me, each
// folder in the order the file system lists it.
#include "catalogue/CommandPaths.h"

#include <functional>
#include <string>

void ForEachCommandFile(const std::function<void(const std::wstring& path, CommandScope scope)>& visit);
