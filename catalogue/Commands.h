#pragma once
// Creating and deleting commands: the App Paths entry, the shortcut file and
// the properties file of each.
#include "catalogue/CommandPaths.h"

#include <windows.h>

#include <string>
#include <vector>

// The shortcut's working folder for a target: the target's folder, none
// for a folder (or a URL, which has no backslash).
std::wstring CommandWorkingFolder(const std::wstring& target);

// Writes the three items in the scope's App Paths key and Cmds folder (the
// user's folder is made on first use) and shows nothing. Returns the
// messages of what failed, in order; empty when all three were written.
// name: legal and lower case; target: non-empty, trailing backslashes gone.
std::vector<std::wstring> WriteCommand(const std::wstring& name, const std::wstring& target,
                                      const std::wstring& parameters, int showCommand, CommandScope scope);

// WriteCommand, each failure shown in a message box. inPlaceOfOtherEntry:
// the user agreed to replace another program's entry of the name, which is
// saved to a backup first (ReplacedEntry.h).
bool CreateCommand(const std::wstring& name, const std::wstring& target, const std::wstring& parameters,
                   int showCommand, CommandScope scope = CommandScope::machine, bool inPlaceOfOtherEntry = false);

// The scope holds a command of that name: its properties file or its App
// Paths entry exists.
bool CommandExists(const std::wstring& name, CommandScope scope);

struct OtherProgramEntry;

// Removes the three items of the scope, each attempted; true when all three
// went. Silent. The two files go to the Recycle Bin, so they can be got back.
// The App Paths entry goes only while it is the command's own: one another
// program has rewritten stays, is handed back in kept, and counts as done.
bool DeleteCommand(const std::wstring& name, CommandScope scope = CommandScope::machine,
                   OtherProgramEntry* kept = nullptr);
