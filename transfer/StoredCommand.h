#pragma once
// Commands and Fast Folders as the stores hold them, read into export
// entries.
#include "transfer/ImportPlan.h"
#include "transfer/TransferFormat.h"

#include <string>
#include <vector>

// Texts stay in the program's code page. False, with why, when the file
// cannot be read or does not hold a command.
bool ReadStoredCommand(const std::string& path, CommandScope scope, TransferCommand& command, std::string& problem);

// The Fast Folders the list shows, in order; texts in the program's code page.
std::vector<TransferFolder> ReadStoredFastFolders();

// The command of that name in the scope, for comparing with an import.
ExistingCommand FindStoredCommand(const std::string& name, CommandScope scope);
