#pragma once
// What an import will do, decided before anything is written: each entry of
// the file is added, replaces what is there, is there already, or is
// skipped with the reason; a command that is there but lost its App Paths
// entry or shortcut is repaired. Platform-free; texts are UTF-8, as the file
// holds them.
#include "catalogue/CommandScopeRules.h"
#include "fastfolders/FastFolderRules.h"
#include "transfer/TransferFormat.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class ImportAction { add, replace, repair, same, skip };

struct PlannedCommand {
    TransferCommand command; // name lower case, target trimmed, scope as written
    ImportAction action = ImportAction::skip;
    std::string reason; // skip: why
    // replace: the name's Run-dialog entry is another program's, which is
    // backed up before it is replaced. No other write replaces one.
    bool replacesOther = false;
};

struct PlannedFolder {
    TransferFolder folder; // path trimmed
    ImportAction action = ImportAction::skip;
    std::string reason;
};

struct ImportPlan {
    std::vector<PlannedCommand> commands;
    std::vector<PlannedFolder> folders;
};

// What the machine holds now under a command's name and scope.
struct ExistingCommand {
    bool exists = false;
    bool readable = false; // fields holds what its properties file says
    TransferCommand fields;
    bool otherProgram = false; // the Run-dialog entry of the name is another program's
    bool itemsIntact = false;  // its App Paths entry and shortcut hold what the asked-for command writes
};

// What the machine holds, as the planner asks for it.
struct ImportState {
    std::function<ExistingCommand(const TransferCommand& command)> command;
    std::function<bool(const std::string& path)> isFolder;
    std::vector<TransferFolder> folders; // the readable Fast Folders, in order
    // Commands for all users need administrator rights and a program
    // folder that is not one user's own: the editor's rule.
    MachineScopeOffer machineScope = MachineScopeOffer::needsElevation;
};

struct ImportOptions {
    bool replace = false;              // replace what differs (another program's entry too, saved first)
    std::optional<CommandScope> scope; // every command into this scope
};

ImportPlan PlanImport(const TransferRead& read, const ImportState& state, const ImportOptions& options);

// How many entries of the plan take each action.
struct ImportCounts {
    int add = 0, replace = 0, repair = 0, same = 0, skip = 0;
};
ImportCounts CountPlan(const ImportPlan& plan);

// Aliases are one when they differ in the case of ASCII letters only.
bool SameFastFolderAlias(const std::string& a, const std::string& b);

const char* ImportActionName(ImportAction action);
