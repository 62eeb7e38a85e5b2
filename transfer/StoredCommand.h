#pragma once
// Commands and Fast Folders as the stores hold them, read into export
// entries.
#include "transfer/ImportPlan.h"
#include "transfer/TransferFormat.h"

#include <string>
#include <vector>

// Texts in UTF-8, as the file holds them. False, with why, when the file
// cannot be read or does not hold a command.
bool ReadStoredCommand(const std::wstring& path, CommandScope scope, TransferCommand& command, std::string& problem);

// The Fast Folders the list shows, in order; texts in UTF-8.
std::vector<TransferFolder> ReadStoredFastFolders();

// The command of the name and scope stored now, compared with the asked-for one.
ExistingCommand FindStoredCommand(const TransferCommand& command);

// The show command a window mode is stored as.
int ShowCommandOf(WindowMode window);
