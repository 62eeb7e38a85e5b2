#include "transfer/Export.h"

#include "catalogue/CommandFiles.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/TextFile.h"
#include "transfer/StoredCommand.h"
#include "transfer/TransferCommandLine.h"
#include "transfer/TransferFormat.h"

#include <windows.h>


int ExportTo(const std::string& file, std::vector<std::string>& report)
{
    std::vector<TransferCommand> commands;
    bool skipped = false;
    ForEachCommandFile([&](const std::string& path, CommandScope scope) {
        TransferCommand command;
        if (std::string problem; !ReadStoredCommand(path, scope, command, problem)) {
            report.push_back("Skipped: " + problem);
            skipped = true;
            return;
        }
        for (std::string* text : {&command.name, &command.target, &command.parameters})
            *text = AnsiToUtf8(*text);
        commands.push_back(command);
    });
    std::vector<TransferFolder> folders = ReadStoredFastFolders();
    for (TransferFolder& folder : folders)
        folder = {AnsiToUtf8(folder.alias), AnsiToUtf8(folder.path)};

    const std::string text = WriteTransferJson(commands, folders);
    CTextWriter writer;
    if (text.empty() || !writer.Open(file) || !writer.Write(text) || !writer.Close()) {
        report.push_back("Could not write " + file + "; nothing was exported.");
        return kTransferFailed;
    }
    report.push_back("Exported " + std::to_string(commands.size()) + " command(s) and " +
                     std::to_string(folders.size()) + " Fast Folder(s) to " + file + ".");
    return skipped ? kTransferPartial : kTransferDone;
}
