#include "transfer/Export.h"

#include "catalogue/CommandFiles.h"
#include "framework/CodePage.h"
#include "framework/FileReplace.h"
#include "regbackup/KeyTree.h"
#include "transfer/StoredCommand.h"
#include "transfer/TransferCommandLine.h"
#include "transfer/TransferFormat.h"

int ExportTo(const std::wstring& file, std::vector<std::string>& report)
{
    std::vector<TransferCommand> commands;
    bool skipped = false;
    ForEachCommandFile([&](const std::wstring& path, CommandScope scope) {
        TransferCommand command;
        std::string problem;
        if (!ReadStoredCommand(path, scope, command, problem)) {
            report.push_back("Skipped: " + problem);
            skipped = true;
        } else {
            commands.push_back(command);
        }
    });
    const std::vector<TransferFolder> folders = ReadStoredFastFolders();

    const std::string text = WriteTransferJson(commands, folders);
    DWORD error = ERROR_SUCCESS;
    if (text.empty() || !ReplaceFileWhole(file, text, error)) {
        report.push_back("Could not write " + ShownAsUtf8(file) +
                         (error != ERROR_SUCCESS ? " (" + ShownAsUtf8(SystemErrorText(error)) + ")" : "") +
                         "; nothing was exported, and a file there before is unchanged.");
        return kTransferFailed;
    }
    report.push_back("Exported " + std::to_string(commands.size()) + " command(s) and " +
                     std::to_string(folders.size()) + " Fast Folder(s) to " + ShownAsUtf8(file) + ".");
    return skipped ? kTransferPartial : kTransferDone;
}
