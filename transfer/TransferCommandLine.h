#pragma once
// The command lines of scripts and deployment tools, recognised before any
// other start-up rule (a file path holds a ':' that would mean path mode):
//   /export FILE [/log FILE]
//   /import FILE [/replace] [/scope user|machine] [/log FILE]
// Platform-free. A path may be in double quotes.
#include "catalogue/CommandPaths.h"

#include <optional>
#include <string>

struct TransferRequest {
    enum class Action { exportFile, importFile } action;
    std::string file;
    std::string logFile;  // empty: none
    bool replace = false; // import: replace existing names instead of skipping them
    std::optional<CommandScope> scope; // import: every command into this scope
};

// nullopt: not such a command line. error: one, but malformed (what is wrong).
struct TransferParse {
    std::optional<TransferRequest> request;
    std::string error;
    bool IsTransfer() const { return request.has_value() || !error.empty(); }
};
TransferParse ParseTransferCommandLine(const std::string& commandLine);

// What the process returns: everything done, some entries skipped, nothing done.
enum TransferExitCode { kTransferDone = 0, kTransferPartial = 1, kTransferFailed = 2 };
