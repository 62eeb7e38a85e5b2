#pragma once
// A command as its properties file holds it, read into an export entry.
#include "transfer/ImportPlan.h"
#include "transfer/TransferFormat.h"

#include <string>

// Texts stay in the program's code page. False, with why, when the file
// cannot be read or does not hold a command.
bool ReadStoredCommand(const std::string& path, CommandScope scope, TransferCommand& command, std::string& problem);

// The command of that name in the scope, for comparing with an import.
ExistingCommand FindStoredCommand(const std::string& name, CommandScope scope);
