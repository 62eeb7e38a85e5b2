#pragma once
// First-run set-up for the current user: the "Create Shortcut Command" verb,
// the settings key (whose existence marks set-up as done) and the Fast
// Folder store with "Path", where the shell extension finds the program.
#include <string>

// True when the settings key cannot be opened for reading.
bool IsFirstRun();
// Installs the verb for the machine or, without the rights for that, for the
// user (its result does not count), then creates the settings key and the
// store with "Path" = folder + "\quillon.exe".
bool RunFirstTimeSetup(const std::wstring& programFolder);
// Rolls a failed set-up back: the store key first, then the settings key.
void UndoFirstTimeSetup();

// "Software\Kelto\quillon30\FastFolders".
std::wstring FastFolderStoreKey();
