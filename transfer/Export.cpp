#include "transfer/Export.h"

#include "catalogue/CommandFiles.h"
#include "framework/CodePage.h"
#include "framework/FileReplace.h"
#include "regbackup/KeyTree.h"
#include "transfer/StoredCommand.h"
#include "transfer/TransferCommandLine.h"
#include "transfer/TransferFormat.h"

namespace {

// Turns the entry's texts into UTF-8; the first field the code page cannot
// read exactly is named in `unreadable`, and the entry is left out: a blank
// or guessed text would not be what the store holds.
template <typename T>
bool ToUtf8(T& entry, std::initializer_list<std::pair<const char*, std::string T::*>> fields, std::string& unreadable)
{
    for (const auto& [label, field] : fields) {
        std::optional<std::string> utf8 = AnsiToUtf8(entry.*field);
        if (!utf8) {
            unreadable = label;
            return false;
        }
        entry.*field = std::move(*utf8);
    }
    return true;
}

std::string UnreadableLine(const std::string& what, const std::string& field)
{
    return "Not exported: " + what + ": its field \"" + field + "\" holds bytes this computer's code page cannot read.";
}

} // namespace

int ExportTo(const std::string& file, std::vector<std::string>& report)
{
    std::vector<TransferCommand> commands;
    bool skipped = false;
    ForEachCommandFile([&](const std::string& path, CommandScope scope) {
        TransferCommand command;
        std::string problem;
        if (!ReadStoredCommand(path, scope, command, problem)) {
            report.push_back("Skipped: " + problem);
            skipped = true;
        } else if (std::string field; !ToUtf8(command,
                                              {{"name", &TransferCommand::name},
                                               {"target", &TransferCommand::target},
                                               {"parameters", &TransferCommand::parameters}},
                                              field)) {
            report.push_back(UnreadableLine("command " + command.name + " (" + ScopeName(scope) + ")", field));
            skipped = true;
        } else {
            commands.push_back(command);
        }
    });
    std::vector<TransferFolder> folders;
    int index = 0;
    for (TransferFolder& folder : ReadStoredFastFolders()) {
        ++index;
        const std::string label = "Fast Folder " + std::to_string(index) + " (" + folder.alias + ")";
        if (std::string field;
            !ToUtf8(folder, {{"alias", &TransferFolder::alias}, {"path", &TransferFolder::path}}, field)) {
            report.push_back(UnreadableLine(label, field));
            skipped = true;
        } else {
            folders.push_back(folder);
        }
    }

    const std::string text = WriteTransferJson(commands, folders);
    DWORD error = ERROR_SUCCESS;
    if (text.empty() || !ReplaceFileWhole(file, text, error)) {
        report.push_back("Could not write " + file + (error != ERROR_SUCCESS ? " (" + SystemErrorText(error) + ")" : "") +
                         "; nothing was exported, and a file there before is unchanged.");
        return kTransferFailed;
    }
    report.push_back("Exported " + std::to_string(commands.size()) + " command(s) and " +
                     std::to_string(folders.size()) + " Fast Folder(s) to " + file + ".");
    return skipped ? kTransferPartial : kTransferDone;
}
