#include "transfer/StoredCommand.h"

#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/Commands.h"
#include "catalogue/OtherProgramEntry.h"
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

ExistingCommand FindStoredCommand(const std::string& name, CommandScope scope)
{
    ExistingCommand existing;
    existing.exists = CommandExists(name, scope);
    std::string problem;
    existing.readable =
        existing.exists && ReadStoredCommand(CommandPropertiesPath(name, scope), scope, existing.fields, problem);
    existing.otherProgram = existing.exists && FindOtherProgramEntry(name, scope).exists;
    return existing;
}
