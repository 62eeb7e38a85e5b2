#include "transfer/Import.h"

#include "catalogue/CommandPaths.h"
#include "catalogue/CommandScopeRules.h"
#include "catalogue/Commands.h"
#include "catalogue/ReplacedEntry.h"
#include "catalogue/PropertiesFormat.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/Elevation.h"
#include "framework/FileError.h"
#include "framework/TextFile.h"
#include "transfer/StoreText.h"
#include "transfer/StoredCommand.h"

#include <windows.h>

#include <algorithm>

namespace {

// The file's bytes, one more than the format allows at most, so that a
// larger file is seen as such without reading all of it. The buffer starts
// at the file's size: one of the largest size, zero-filled for every file,
// cost more than reading a file of a thousand commands.
std::string ReadBounded(const std::wstring& file)
{
    const CFileHandle handle = OpenFileForRead(file);
    const size_t most = kMaxTransferFile + 1;
    LARGE_INTEGER size{};
    const size_t expected = GetFileSizeEx(handle.Get(), &size)
                                ? static_cast<size_t>(std::min<ULONGLONG>(static_cast<ULONGLONG>(size.QuadPart), most))
                                : most;
    std::string bytes(std::min(expected + 1, most), '\0'); // one more: a file that grew shows it
    size_t total = 0;
    while (total < most) {
        if (total == bytes.size())
            bytes.resize(std::min(most, total * 2));
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - total, 1 << 20));
        if (!ReadFile(handle.Get(), bytes.data() + total, want, &read, nullptr))
            throw CFileError(CFileError::CauseFromWin32(GetLastError()), file);
        if (read == 0)
            break;
        total += read;
    }
    bytes.resize(total);
    return bytes;
}

std::string CommandLabel(const TransferCommand& command)
{
    return "command " + command.name + " (" + ScopeName(command.scope) + ")";
}

std::string FolderLabel(const TransferFolder& folder)
{
    return "Fast Folder " + folder.alias;
}

// The index of the Fast Folder of that alias now; -1 when there is none.
int FolderIndex(const std::string& alias)
{
    const std::vector<TransferFolder> folders = ReadStoredFastFolders();
    for (size_t i = 0; i < folders.size(); ++i)
        if (SameFastFolderAlias(folders[i].alias, alias))
            return static_cast<int>(i);
    return -1;
}

// Why the folder was not written; empty when it was.
std::string WriteFolder(const PlannedFolder& planned)
{
    int blocked = -1;
    FastFolderWrite result = FastFolderWrite::failed;
    if (planned.action == ImportAction::add) {
        result = AddFastFolder(StoreText(planned.folder.alias), StoreText(planned.folder.path), blocked);
    } else {
        const int index = FolderIndex(planned.folder.alias);
        if (index < 0)
            return "the Fast Folder it replaces is gone";
        result = ReplaceFastFolder(index, StoreText(planned.folder.alias), StoreText(planned.folder.path), blocked);
    }
    switch (result) {
    case FastFolderWrite::done: return {};
    case FastFolderWrite::blocked:
        return "the Fast Folder list holds an unreadable item at index " + std::to_string(blocked) +
               "; remove it in the Fast Folders page first";
    case FastFolderWrite::full: return "the Fast Folder list is full";
    case FastFolderWrite::failed: break;
    }
    return "it could not be written to the registry";
}

std::string Joined(const std::vector<std::wstring>& messages)
{
    std::string text;
    for (const std::wstring& message : messages)
        text += (text.empty() ? "" : " ") + ShownAsUtf8(message);
    return text;
}

// Why the planned command was not written; empty when it was. Whose entry
// the name holds is asked again now: another program's installer may have
// run since the plan was made, and only a replacement planned as such,
// with its backup, takes another program's entry.
std::string WritePlannedCommand(const PlannedCommand& planned)
{
    const TransferCommand& command = planned.command;
    const int show = ShowCommandOf(command.window);
    const std::wstring name = StoreText(command.name);
    const std::wstring target = StoreText(command.target);
    const std::wstring parameters = StoreText(command.parameters);
    if (FindOtherProgramEntry(name, command.scope).exists) {
        if (!planned.replacesOther)
            return "another program's Run-dialog entry of this name appeared after the import was planned; it was "
                   "kept";
        return Joined(WriteCommandInPlaceOfOtherEntry(name, target, parameters, show, command.scope));
    }
    return Joined(WriteCommand(name, target, parameters, show, command.scope));
}

} // namespace

TransferRead ReadImportFile(const std::wstring& file)
{
    TransferRead read;
    try {
        read = ReadTransferJson(ReadBounded(file));
    } catch (const CFileError& error) {
        read.error = ShownAsUtf8(error.GetMessageText());
    }
    return read;
}

ImportState CurrentImportState()
{
    ImportState state;
    state.command = FindStoredCommand;
    state.isFolder = [](const std::string& path) { return IsExistingFolder(StoreText(path)); };
    state.folders = ReadStoredFastFolders();
    state.machineScope = OfferMachineScope(IsProcessElevated(), GetProgramFolder(), ProfilesFolder());
    return state;
}

ImportOutcome ApplyImport(const ImportPlan& plan, std::vector<std::string>& report)
{
    ImportOutcome outcome;
    auto account = [&](ImportAction action, const std::string& label, const std::string& reason,
                       const std::string& failure) {
        if (action == ImportAction::skip) {
            ++outcome.skipped;
            report.push_back("Skipped " + label + ": " + reason + ".");
        } else if (!failure.empty()) {
            outcome.failures.push_back("Not imported " + label + ": " + failure);
            report.push_back(outcome.failures.back());
        } else {
            ++outcome.done;
            const char* done = action == ImportAction::add       ? "Added "
                               : action == ImportAction::replace ? "Replaced "
                               : action == ImportAction::repair  ? "Repaired "
                                                                 : "Already there: ";
            report.push_back(done + label + ".");
        }
    };
    for (const PlannedCommand& planned : plan.commands) {
        std::string failure;
        if (planned.action != ImportAction::skip && planned.action != ImportAction::same)
            failure = WritePlannedCommand(planned);
        account(planned.action, CommandLabel(planned.command), planned.reason, failure);
    }
    for (const PlannedFolder& planned : plan.folders) {
        std::string failure;
        if (planned.action == ImportAction::add || planned.action == ImportAction::replace)
            failure = WriteFolder(planned);
        account(planned.action, FolderLabel(planned.folder), planned.reason, failure);
    }
    return outcome;
}

int ImportExitCode(const ImportOutcome& outcome)
{
    const bool left = outcome.skipped > 0 || !outcome.failures.empty();
    if (outcome.done == 0 && left)
        return kTransferFailed;
    return left ? kTransferPartial : kTransferDone;
}

int ImportFrom(const TransferRequest& request, std::vector<std::string>& report)
{
    const TransferRead read = ReadImportFile(StoreText(request.file));
    if (!read.error.empty()) {
        report.push_back(read.error + " Nothing was imported from " + request.file + ".");
        return kTransferFailed;
    }
    const ImportPlan plan = PlanImport(read, CurrentImportState(), {request.replace, request.scope});
    const ImportOutcome outcome = ApplyImport(plan, report);
    report.push_back("Imported from " + request.file + ": " + std::to_string(outcome.done) + " done, " +
                     std::to_string(outcome.skipped) + " skipped, " + std::to_string(outcome.failures.size()) +
                     " failed.");
    return ImportExitCode(outcome);
}
