// The export file's reader over any bytes: it either refuses the file or
// reads entries, and whatever it reads as usable writes back and reads
// again to the same values. The import planner takes every entry: each
// skip says why, and never more than ten Fast Folders are written.
#include "fuzz/Check.h"
#include "transfer/ImportPlan.h"
#include "transfer/TransferFormat.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TransferRead read = ReadTransferJson(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.error.empty()) {
        FUZZ_CHECK(read.commands.empty() && read.fastFolders.empty());
        return 0;
    }
    ImportState state;
    FUZZ_CHECK(read.commands.size() <= kMaxTransferCommands && read.fastFolders.size() <= kMaxTransferFolders);
    state.command = [](const TransferCommand& command) {
        const size_t n = command.name.size();
        return ExistingCommand{n % 2 == 0, n % 4 == 0, {}, n % 5 == 0, n % 3 == 0};
    };
    state.isFolder = [](const std::string& path) { return path.size() % 3 != 0; };
    state.folders = {{"Docs", "C:\\Docs"}};
    state.machineScope = size % 2 == 0 ? MachineScopeOffer::offered
                         : size % 3 == 0 ? MachineScopeOffer::privateFolder
                                         : MachineScopeOffer::needsElevation;
    const ImportPlan plan = PlanImport(read, state, {size % 3 == 0, std::nullopt});
    FUZZ_CHECK(plan.commands.size() == read.commands.size() && plan.folders.size() == read.fastFolders.size());
    int written = 0;
    for (const PlannedFolder& planned : plan.folders) {
        FUZZ_CHECK((planned.action == ImportAction::skip) == !planned.reason.empty());
        written += planned.action == ImportAction::add ? 1 : 0;
    }
    FUZZ_CHECK(written + state.folders.size() <= kMaxFastFolders);
    for (const PlannedCommand& planned : plan.commands) {
        FUZZ_CHECK((planned.action == ImportAction::skip) == !planned.reason.empty());
        FUZZ_CHECK(!planned.replacesOther || planned.action == ImportAction::replace);
    }

    std::vector<TransferCommand> commands;
    std::vector<TransferFolder> folders;
    for (const auto& entry : read.commands)
        if (entry.problem.empty())
            commands.push_back(entry.value);
    for (const auto& entry : read.fastFolders)
        if (entry.problem.empty())
            folders.push_back(entry.value);
    const std::string text = WriteTransferJson(commands, folders);
    FUZZ_CHECK(!text.empty()); // the parser only hands out valid UTF-8
    const TransferRead again = ReadTransferJson(text);
    FUZZ_CHECK(again.error.empty() && again.commands.size() == commands.size() &&
               again.fastFolders.size() == folders.size());
    for (size_t i = 0; i < commands.size(); ++i)
        FUZZ_CHECK(again.commands[i].problem.empty() && again.commands[i].value == commands[i]);
    for (size_t i = 0; i < folders.size(); ++i)
        FUZZ_CHECK(again.fastFolders[i].problem.empty() && again.fastFolders[i].value == folders[i]);
    return 0;
}
