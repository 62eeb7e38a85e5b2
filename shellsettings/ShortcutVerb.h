#pragma once
// The "Create Shortcut Command" verb on every file and folder: it starts
// the program with the chosen item's path.
#include <string>

// Where the verb is registered: the machine's file classes (HKEY_CLASSES_ROOT)
// or the user's own (HKEY_CURRENT_USER\Software\Classes), which needs no
// administrator rights and which the shell merges into the machine's.
enum class VerbScope { machine, user };

// The verb counts as installed when its key for all files exists.
bool IsShortcutVerbInstalled(VerbScope scope = VerbScope::machine);
// Writes the four keys; true when the command line for all files was
// written and the one for folders was not refused.
bool InstallShortcutVerb(const std::wstring& programFolder, VerbScope scope = VerbScope::machine);
// Deletes the four keys, Command subkeys first; true when all four went.
bool RemoveShortcutVerb(VerbScope scope = VerbScope::machine);

// The verb's command line: the program path in quotes (a folder with blanks
// must not let Windows try C:\Program.exe first), then an unquoted %1.
std::wstring ShortcutVerbCommandLine(const std::wstring& programFolder);
