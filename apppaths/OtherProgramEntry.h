#pragma once
// Whether the App Paths entry under a command's name is another program's:
// the one rule the command editor, the import and the put-back of a
// replaced entry share. An entry is the command's own while its default
// value names the command's shortcut.
#include "apppaths/AppPathsScope.h"

#include <string>

struct OtherProgramEntry {
    bool exists = false;
    std::wstring target; // its default value, quotes stripped; empty when it has none
};

// The entry of the name in the scope when its value is not ownLinkPath.
OtherProgramEntry ReadOtherProgramEntry(const std::wstring& name, CommandScope scope, const std::wstring& ownLinkPath);
