#include "transfer/Export.h"

#include "catalogue/CommandFiles.h"
#include "catalogue/CommandName.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/PropertiesFormat.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/FileError.h"
#include "framework/Handles.h"
#include "framework/TextFile.h"
#include "transfer/TransferCommandLine.h"
#include "transfer/TransferFormat.h"

#include <windows.h>


namespace {

WindowMode WindowFromLine(const std::string& line)
{
    switch (ModeIndexFromPropertiesLine(line)) {
    case 1: return WindowMode::minimized;
    case 2: return WindowMode::maximized;
    default: return WindowMode::normal;
    }
}

// Reads one properties file into the export; false, said in the report,
// when it cannot be.
bool ReadCommand(const std::string& path, CommandScope scope, TransferCommand& command,
                 std::vector<std::string>& report)
{
    std::vector<std::string> lines;
    try {
        if (ReadPropertiesLines(path, 4, lines) < 3) {
            report.push_back("Skipped " + path + ": it holds fewer than three lines.");
            return false;
        }
    } catch (const CFileError& error) {
        report.push_back("Skipped: " + error.GetMessageText());
        return false;
    }
    if (!IsLegalCommandName(lines[0])) {
        report.push_back("Skipped " + path + ": its first line is not a valid command name.");
        return false;
    }
    command.name = AnsiToUtf8(lines[0]);
    command.target = AnsiToUtf8(lines[1]);
    command.parameters = AnsiToUtf8(lines[2]);
    command.window = WindowFromLine(lines.size() > 3 ? lines[3] : std::string());
    command.scope = scope;
    return true;
}

} // namespace

std::string AnsiToUtf8(const std::string& text)
{
    if (text.empty())
        return {};
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

int ExportTo(const std::string& file, std::vector<std::string>& report)
{
    std::vector<TransferCommand> commands;
    bool skipped = false;
    ForEachCommandFile([&](const std::string& path, CommandScope scope) {
        TransferCommand command;
        if (ReadCommand(path, scope, command, report))
            commands.push_back(command);
        else
            skipped = true;
    });
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    std::vector<TransferFolder> folders;
    const int count = ReadFastFolders(kMaxFastFolders, aliases, paths);
    for (int i = 0; i < count; ++i)
        folders.push_back({AnsiToUtf8(aliases[i]), AnsiToUtf8(paths[i])});

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
