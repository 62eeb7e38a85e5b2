// The export file's reader over any bytes: it either refuses the file or
// reads entries, and whatever it reads as usable writes back and reads
// again to the same values.
#include "fuzz/Check.h"
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
