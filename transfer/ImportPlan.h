#pragma once
// What an import will do, decided before anything is written: each entry of
// the file is added, replaces what is there, is there already, or is
// skipped with the reason. Platform-free; texts are in the program's code
// page by now (ConvertToAnsi turned away what it cannot hold).
#include "fastfolders/FastFolderRules.h"
#include "transfer/TransferFormat.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class ImportAction { add, replace, same, skip };

struct PlannedCommand {
    TransferCommand command; // name lower case, target trimmed, scope as written
    ImportAction action = ImportAction::skip;
    std::string reason; // skip: why
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

// A command the machine holds now under a name.
struct ExistingCommand {
    bool exists = false;
    bool readable = false; // fields holds what its properties file says
    TransferCommand fields;
    bool otherProgram = false; // the Run-dialog entry of the name is another program's
};

// What the machine holds, as the planner asks for it.
struct ImportState {
    std::function<ExistingCommand(const std::string& name, CommandScope scope)> command;
    std::function<bool(const std::string& path)> isFolder;
    std::vector<TransferFolder> folders; // the readable Fast Folders, in order
    bool mayWriteMachine = false;        // machine-wide commands need administrator rights
};

struct ImportOptions {
    bool replace = false;              // replace what differs (another program's entry too, saved first)
    std::optional<CommandScope> scope; // every command into this scope
};

ImportPlan PlanImport(const TransferRead& read, const ImportState& state, const ImportOptions& options);

// How many entries of the plan take each action.
struct ImportCounts {
    int add = 0, replace = 0, same = 0, skip = 0;
};
ImportCounts CountPlan(const ImportPlan& plan);

// Aliases are one when they differ in the case of ASCII letters only.
bool SameFastFolderAlias(const std::string& a, const std::string& b);

const char* ImportActionName(ImportAction action);
