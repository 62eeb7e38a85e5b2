#include "transfer/StoredCommand.h"

#include "catalogue/CommandItems.h"
#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/Commands.h"
#include "catalogue/ReplacedEntry.h"
#include "catalogue/PropertiesFormat.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/FileError.h"

#include <vector>

namespace {

WindowMode WindowFromLine(const std::string& line)
{
    switch (ModeIndexFromPropertiesLine(line)) {
    case 1: return WindowMode::minimized;
    case 2: return WindowMode::maximized;
    default: return WindowMode::normal;
    }
}

} // namespace

bool ReadStoredCommand(const std::string& path, CommandScope scope, TransferCommand& command, std::string& problem)
{
    std::vector<std::string> lines;
    try {
        if (ReadPropertiesLines(path, 4, lines) < 3) {
            problem = path + ": it holds fewer than three lines.";
            return false;
        }
    } catch (const CFileError& error) {
        problem = error.GetMessageText();
        return false;
    }
    if (!IsLegalCommandName(lines[0])) {
        problem = path + ": its first line is not a valid command name.";
        return false;
    }
    command.name = lines[0];
    command.target = lines[1];
    command.parameters = lines[2];
    command.window = WindowFromLine(lines.size() > 3 ? lines[3] : std::string());
    command.scope = scope;
    return true;
}

std::vector<TransferFolder> ReadStoredFastFolders()
{
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    const int count = ReadFastFolders(kMaxFastFolders, aliases, paths);
    std::vector<TransferFolder> folders;
    for (int i = 0; i < count; ++i)
        folders.push_back({aliases[i], paths[i]});
    return folders;
}

int ShowCommandOf(WindowMode window)
{
    switch (window) {
    case WindowMode::minimized: return ShowCommandFromModeIndex(1);
    case WindowMode::maximized: return ShowCommandFromModeIndex(2);
    case WindowMode::normal: break;
    }
    return ShowCommandFromModeIndex(0);
}

ExistingCommand FindStoredCommand(const TransferCommand& command)
{
    const std::string& name = command.name;
    const CommandScope scope = command.scope;
    ExistingCommand existing;
    existing.exists = CommandExists(name, scope);
    if (!existing.exists)
        return existing;
    std::string problem;
    existing.readable = ReadStoredCommand(CommandPropertiesPath(name, scope), scope, existing.fields, problem);
    existing.otherProgram = FindOtherProgramEntry(name, scope).exists;
    existing.itemsIntact = !existing.otherProgram && CommandItemsIntact(name, scope, command.target, command.parameters,
                                                                        ShowCommandOf(command.window));
    return existing;
}
