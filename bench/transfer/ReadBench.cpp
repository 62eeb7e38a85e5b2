// Reads export files built to cost the most: 200,000 unknown keys (in the
// file itself and in one command), and the most commands and Fast Folders
// the format accepts. The reader's cost must grow with the file's size
// alone; the goal is under a second for each on this machine.
#include "bench/MedianTime.h"
#include "transfer/TransferFormat.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kUnknownKeys = 200000;

std::string Keys(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "\"unknown" + std::to_string(i) + "\": " + std::to_string(i) + ", ";
    return text;
}

const std::string kCommand = R"({"name": "notes", "target": "C:\\Windows\\notepad.exe", "parameters": "-a",
    "window": "normal", "scope": "user"})";

std::string Head()
{
    return R"({"format": "verbosa", "version": 1, )";
}

std::string KeysInTheFile()
{
    return Head() + Keys(kUnknownKeys) + R"("commands": [], "fastFolders": []})";
}

std::string KeysInACommand()
{
    return Head() + R"("commands": [{)" + Keys(kUnknownKeys) +
           R"("name": "notes", "target": "C:\\x.exe", "parameters": "", "window": "normal", "scope": "user"}]})";
}

std::string MostEntries()
{
    std::string text = Head() + R"("commands": [)";
    for (size_t i = 0; i < kMaxTransferCommands; ++i)
        text += (i ? "," : "") + kCommand;
    text += R"(], "fastFolders": [)";
    for (size_t i = 0; i < kMaxTransferFolders; ++i)
        text += std::string(i ? "," : "") + R"({"alias": "Docs", "path": "C:\\Docs"})";
    return text + "]}";
}

} // namespace

int main()
{
    std::printf("%-34s %10s %10s %8s\n", "file", "KiB", "read ms", "refused");
    const std::pair<const char*, std::string> files[] = {{"200,000 unknown keys in the file", KeysInTheFile()},
                                                         {"200,000 unknown keys in a command", KeysInACommand()},
                                                         {"10,000 commands and folders", MostEntries()}};
    for (const auto& [label, text] : files) {
        std::string error;
        const double ms = MedianMs(5, [&] { error = ReadTransferJson(text).error; });
        std::printf("%-34s %10zu %10.1f %8s\n", label, text.size() / 1024, ms, error.empty() ? "no" : "YES");
        if (!error.empty())
            std::printf("  %s\n", error.c_str());
    }
    return 0;
}
