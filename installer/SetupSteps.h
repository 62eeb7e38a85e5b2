#pragma once
// What the MSI's custom actions do besides installing files. On uninstall,
// as the NSIS uninstaller does for "All users": every command whose App
// Paths entry points into the Cmds folder, their files, the shell entries,
// and the uninstalling user's settings and Fast Folders. Each removal step
// tries every item and returns how many it could not remove.
#include "catalogue/CommandPaths.h"

#include <string>
#include <vector>

// Entries of the scope's App Paths whose default value lies in cmdsFolder
// (other software's entries stay), then the run_*.lnk and run_*.cfg files
// there. An entry whose command had replaced another program's entry is
// followed by that entry, put back from its noted backup under the
// program's own rules (ReplacedEntry.h); where that cannot be done the
// backup stays, and log says why (as it says what was put back).
int RemoveCommands(const std::wstring& cmdsFolder, CommandScope scope, std::vector<std::wstring>& log);

// Unregisters the extension (both copies, waiting for regsvr32) while its
// files still exist, then the machine's verb and handler keys.
int RemoveMachineShellEntries(const std::wstring& programFolder);

// The current user's settings key (with the Fast Folders) and the user's own
// verb when it starts this installation's program.
int RemoveUserSettings(const std::wstring& programFolder);

struct ExtensionRegistrationResult {
    bool nativeCopy = false;
    bool x86Copy = true; // true where there is none
};

// Registers the extension for the machine (both copies), waiting for each
// regsvr32 run.
ExtensionRegistrationResult RegisterMachineShellExtension(const std::wstring& programFolder);
