#include "transfer/ImportPlan.h"

#include "catalogue/CommandInput.h"
#include "catalogue/CommandLimits.h"
#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "framework/AsciiCase.h"

#include <utf8cpp/utf8.h>

#include <algorithm>
#include <iterator>
#include <map>

namespace {

// The file's text is well-formed UTF-8 (the reader refuses any other).
std::u16string Utf16Of(const std::string& utf8)
{
    std::u16string text;
    utf8::unchecked::utf8to16(utf8.begin(), utf8.end(), std::back_inserter(text));
    return text;
}

// Every reader of the Fast Folder store holds a text and its end in 260 bytes.
constexpr size_t kMaxFolderText = 259;

bool HasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

// Why the command cannot be imported as written; empty when it can. The
// same rules as the command editor.
std::string CommandProblem(const TransferCommand& command)
{
    if (command.name.empty())
        return "the name is empty";
    if (!IsLegalCommandName(command.name))
        return "the name may hold only letters, digits and ! # $ % & ( ) + - | { } _ @";
    if (command.name.size() > kMaxCommandName)
        return "the name can hold at most " + std::to_string(kMaxCommandName) + " characters";
    if (command.target.empty())
        return "the target is empty";
    // Lengths count UTF-16 units, as Windows counts a path.
    switch (FindUnstorableInput(Utf16Of(command.target), Utf16Of(command.parameters))) {
    case UnstorableInput::none: return {};
    case UnstorableInput::lineBreak: return "a command cannot store line breaks in its path or parameters";
    case UnstorableInput::brokenText: return "its path or parameters hold half of a surrogate pair";
    case UnstorableInput::targetTooLong:
        return "the path can hold at most " + std::to_string(kMaxCommandTarget) + " characters";
    case UnstorableInput::parametersTooLong:
        return "the parameters can hold at most " + std::to_string(kMaxCommandParameters) + " characters";
    }
    return {};
}

std::string FolderProblem(const TransferFolder& folder, const ImportState& state)
{
    if (folder.alias.empty())
        return "the alias is empty";
    if (folder.path.empty())
        return "the path is empty";
    if (HasLineBreak(folder.alias) || HasLineBreak(folder.path))
        return "a Fast Folder cannot hold line breaks";
    if (Utf16Of(folder.alias).size() > kMaxFolderText || Utf16Of(folder.path).size() > kMaxFolderText)
        return "the alias and the path can each hold at most 259 characters";
    if (!state.isFolder(folder.path))
        return "the folder does not exist on this computer";
    return {};
}

void Skip(ImportAction& action, std::string& reason, std::string why)
{
    action = ImportAction::skip;
    reason = std::move(why);
}

void PlanCommands(const TransferRead& read, const ImportState& state, const ImportOptions& options,
                  ImportPlan& plan)
{
    std::map<std::pair<std::string, CommandScope>, int> named; // how often the file names each
    for (const auto& entry : read.commands) {
        PlannedCommand planned;
        planned.command = entry.value;
        TransferCommand& command = planned.command;
        command.name = AsciiLower(command.name); // legal names are ASCII
        command.target = TrimTrailingBackslashes(command.target);
        if (options.scope)
            command.scope = *options.scope;
        planned.reason = entry.problem.empty() ? CommandProblem(command) : entry.problem;
        if (planned.reason.empty())
            ++named[{command.name, command.scope}];
        plan.commands.push_back(std::move(planned));
    }
    for (PlannedCommand& planned : plan.commands) {
        const TransferCommand& command = planned.command;
        if (!planned.reason.empty())
            continue; // skip, as said
        if (named[{command.name, command.scope}] > 1) {
            Skip(planned.action, planned.reason, "the file holds this name more than once");
            continue;
        }
        if (command.scope == CommandScope::machine && state.machineScope != MachineScopeOffer::offered) {
            Skip(planned.action, planned.reason,
                 state.machineScope == MachineScopeOffer::privateFolder
                     ? "Verbosa runs from a user's own folder, which keeps no commands for all users"
                     : "commands for all users need administrator rights");
            continue;
        }
        const ExistingCommand existing = state.command(command);
        // The command's own files with nothing else stored under its name
        // are the command there, whatever of them is lost.
        const bool ownItems = !existing.otherProgram && (existing.readable ? existing.fields == command
                                                                           : existing.itemsIntact);
        if (!existing.exists)
            planned.action = ImportAction::add;
        else if (existing.otherProgram && !options.replace)
            Skip(planned.action, planned.reason,
                 "another program's Run-dialog entry has this name (replace was not chosen)");
        else if (ownItems)
            planned.action = existing.readable && existing.itemsIntact ? ImportAction::same : ImportAction::repair;
        else if (options.replace) {
            planned.action = ImportAction::replace;
            planned.replacesOther = existing.otherProgram;
        } else {
            Skip(planned.action, planned.reason, "a different command of this name exists (replace was not chosen)");
        }
    }
}

void PlanFolders(const TransferRead& read, const ImportState& state, const ImportOptions& options,
                 ImportPlan& plan)
{
    std::map<std::string, int> named;
    for (const auto& entry : read.fastFolders) {
        PlannedFolder planned;
        planned.folder = entry.value;
        planned.folder.path = TrimTrailingBackslashes(planned.folder.path);
        planned.reason = entry.problem.empty() ? FolderProblem(planned.folder, state) : entry.problem;
        if (planned.reason.empty())
            ++named[AsciiLower(planned.folder.alias)];
        plan.folders.push_back(std::move(planned));
    }
    std::vector<PlannedFolder*> adds;
    for (PlannedFolder& planned : plan.folders) {
        if (!planned.reason.empty())
            continue;
        const std::string alias = AsciiLower(planned.folder.alias);
        if (named[alias] > 1) {
            Skip(planned.action, planned.reason, "the file holds this alias more than once");
            continue;
        }
        const auto found =
            std::find_if(state.folders.begin(), state.folders.end(),
                         [&](const TransferFolder& held) { return SameFastFolderAlias(held.alias, alias); });
        if (found == state.folders.end()) {
            planned.action = ImportAction::add;
            adds.push_back(&planned);
        } else if (found->path == planned.folder.path) { // the alias may differ in case only
            planned.action = ImportAction::same;
        } else if (options.replace) {
            planned.action = ImportAction::replace;
        } else {
            Skip(planned.action, planned.reason, "a different Fast Folder of this alias exists (replace was not chosen)");
        }
    }
    // All of the new ones or none: which ones to leave out is not ours to pick.
    const size_t most = kMaxFastFolders;
    const size_t room = most - std::min(most, state.folders.size());
    if (adds.size() > room)
        for (PlannedFolder* planned : adds)
            Skip(planned->action, planned->reason,
                 "only " + std::to_string(room) + " more Fast Folder(s) fit; the file adds " +
                     std::to_string(adds.size()));
}

} // namespace

ImportPlan PlanImport(const TransferRead& read, const ImportState& state, const ImportOptions& options)
{
    ImportPlan plan;
    PlanCommands(read, state, options, plan);
    PlanFolders(read, state, options, plan);
    return plan;
}

bool SameFastFolderAlias(const std::string& a, const std::string& b)
{
    return EqualIgnoringAsciiCase(a, b);
}

ImportCounts CountPlan(const ImportPlan& plan)
{
    ImportCounts counts;
    auto count = [&counts](ImportAction action) {
        switch (action) {
        case ImportAction::add: ++counts.add; break;
        case ImportAction::replace: ++counts.replace; break;
        case ImportAction::repair: ++counts.repair; break;
        case ImportAction::same: ++counts.same; break;
        case ImportAction::skip: ++counts.skip; break;
        }
    };
    for (const PlannedCommand& planned : plan.commands)
        count(planned.action);
    for (const PlannedFolder& planned : plan.folders)
        count(planned.action);
    return counts;
}

const char* ImportActionName(ImportAction action)
{
    switch (action) {
    case ImportAction::add: return "Add";
    case ImportAction::replace: return "Replace";
    case ImportAction::repair: return "Repair";
    case ImportAction::same: return "Already there";
    case ImportAction::skip: break;
    }
    return "Skip";
}
