#pragma once
// The export file: JSON in UTF-8, human-readable and stable, so that
// administrators can write it by hand or from a script:
//   {"format": "verbosa", "version": 1,
//    "commands": [{"name", "target", "parameters", "window", "scope"}],
//    "fastFolders": [{"alias", "path"}]}
// Platform-free: texts here are UTF-8; the program converts them.
#include "catalogue/CommandPaths.h"

#include <string>
#include <string_view>
#include <vector>

enum class WindowMode { normal, minimized, maximized };

struct TransferCommand {
    std::string name;
    std::string target;
    std::string parameters;
    WindowMode window = WindowMode::normal;
    CommandScope scope = CommandScope::machine;

    bool operator==(const TransferCommand&) const = default;
};

struct TransferFolder {
    std::string alias;
    std::string path;

    bool operator==(const TransferFolder&) const = default;
};

// One entry as read: usable when problem is empty, else why it is not.
template <typename T>
struct TransferEntry {
    T value;
    std::string problem;
};

struct TransferRead {
    std::string error; // not empty: the file as a whole is unusable
    std::vector<TransferEntry<TransferCommand>> commands;
    std::vector<TransferEntry<TransferFolder>> fastFolders;
};

// Larger than any export of real commands; a bigger file is refused unread.
inline constexpr size_t kMaxTransferFile = 8 * 1024 * 1024;
// Far more than any real set; a file listing more is refused, so that no
// file costs more than these in time or memory.
inline constexpr size_t kMaxTransferCommands = 10000;
inline constexpr size_t kMaxTransferFolders = 10000;
// An export nests three levels (file, list, entry); unknown fields may add
// a few more, but not without end.
inline constexpr size_t kMaxTransferNesting = 32;

// Reads a file's text in time linear in its size. Unknown fields are
// ignored; a missing or mistyped required field makes that entry unusable,
// not the file. More entries or deeper nesting than the bounds above make
// the file unusable, with the reason.
TransferRead ReadTransferJson(std::string_view utf8);

// The file's text, two-space indented, fields in the order above. Empty
// when a text is not valid UTF-8.
std::string WriteTransferJson(const std::vector<TransferCommand>& commands,
                              const std::vector<TransferFolder>& fastFolders);

const char* WindowModeName(WindowMode mode);
const char* ScopeName(CommandScope scope);
