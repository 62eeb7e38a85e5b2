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
#include "transfer/StoreText.h"

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

bool ReadStoredCommand(const std::wstring& path, CommandScope scope, TransferCommand& command, std::string& problem)
{
    std::vector<std::wstring> lines;
    try {
        if (ReadPropertiesLines(path, 4, lines) < 3) {
            problem = ShownAsUtf8(path) + ": it holds fewer than three lines.";
            return false;
        }
    } catch (const CFileError& error) {
        problem = ShownAsUtf8(error.GetMessageText());
        return false;
    }
    if (!IsLegalCommandName(lines[0])) {
        problem = ShownAsUtf8(path) + ": its first line is not a valid command name.";
        return false;
    }
    const auto target = FileText(lines[1]);
    const auto parameters = FileText(lines[2]);
    if (!target || !parameters) {
        problem = ShownAsUtf8(path) + ": its path or parameters hold half of a surrogate pair.";
        return false;
    }
    command.name = *FileText(lines[0]); // a legal name is ASCII
    command.target = *target;
    command.parameters = *parameters;
    command.window = WindowFromLine(lines.size() > 3 ? FileText(lines[3]).value_or(std::string()) : std::string());
    command.scope = scope;
    return true;
}

std::vector<TransferFolder> ReadStoredFastFolders()
{
    std::wstring aliases[kMaxFastFolders];
    std::wstring paths[kMaxFastFolders];
    const int count = ReadFastFolders(kMaxFastFolders, aliases, paths);
    std::vector<TransferFolder> folders;
    for (int i = 0; i < count; ++i) {
        const auto alias = FileText(aliases[i]);
        const auto path = FileText(paths[i]);
        if (!alias || !path)
            break; // the menu could not show it either
        folders.push_back({*alias, *path});
    }
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
    const std::wstring name = StoreText(command.name);
    const CommandScope scope = command.scope;
    ExistingCommand existing;
    existing.exists = CommandExists(name, scope);
    if (!existing.exists)
        return existing;
    std::string problem;
    existing.readable = ReadStoredCommand(CommandPropertiesPath(name, scope), scope, existing.fields, problem);
    existing.otherProgram = FindOtherProgramEntry(name, scope).exists;
    existing.itemsIntact =
        !existing.otherProgram && CommandItemsIntact(name, scope, StoreText(command.target),
                                                     StoreText(command.parameters), ShowCommandOf(command.window));
    return existing;
}
