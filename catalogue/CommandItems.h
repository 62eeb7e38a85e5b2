#pragma once
// Whether a command's App Paths entry and shortcut still hold what writing
// the command puts there, so that an import can tell a command that is
// there from one whose entry or shortcut was removed or changed since.
#include "catalogue/CommandPaths.h"

#include <string>

// The entry's default value and Path, and the shortcut's target,
// arguments, working folder and show command are what WriteCommand writes
// for these fields.
bool CommandItemsIntact(const std::wstring& name, CommandScope scope, const std::wstring& target,
                        const std::wstring& parameters, int showCommand);
