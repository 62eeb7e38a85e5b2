#include "transfer/TransferFormat.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace {

constexpr const char* kFormat = "verbosa";
constexpr int kVersion = 1;

// A required string field: false, with the reason, when missing or mistyped.
bool ReadText(const Json& entry, const char* field, std::string& out, std::string& problem)
{
    const auto found = entry.find(field);
    if (found == entry.end() || !found->is_string()) {
        problem = std::string("\"") + field + "\" is missing or not a text";
        return false;
    }
    out = found->get<std::string>();
    return true;
}

TransferEntry<TransferCommand> ReadCommand(const Json& entry)
{
    TransferEntry<TransferCommand> read;
    if (!entry.is_object()) {
        read.problem = "not an object";
        return read;
    }
    TransferCommand& command = read.value;
    std::string window, scope;
    if (!ReadText(entry, "name", command.name, read.problem) || !ReadText(entry, "target", command.target, read.problem) ||
        !ReadText(entry, "parameters", command.parameters, read.problem) ||
        !ReadText(entry, "window", window, read.problem) || !ReadText(entry, "scope", scope, read.problem))
        return read;
    if (window == "normal")
        command.window = WindowMode::normal;
    else if (window == "minimized")
        command.window = WindowMode::minimized;
    else if (window == "maximized")
        command.window = WindowMode::maximized;
    else
        read.problem = "\"window\" is not normal, minimized or maximized";
    if (scope == "user")
        command.scope = CommandScope::user;
    else if (scope == "machine")
        command.scope = CommandScope::machine;
    else if (read.problem.empty())
        read.problem = "\"scope\" is not user or machine";
    return read;
}

TransferEntry<TransferFolder> ReadFolder(const Json& entry)
{
    TransferEntry<TransferFolder> read;
    if (!entry.is_object())
        read.problem = "not an object";
    else if (ReadText(entry, "alias", read.value.alias, read.problem))
        ReadText(entry, "path", read.value.path, read.problem);
    return read;
}

} // namespace

const char* WindowModeName(WindowMode mode)
{
    switch (mode) {
    case WindowMode::minimized: return "minimized";
    case WindowMode::maximized: return "maximized";
    case WindowMode::normal: break;
    }
    return "normal";
}

const char* ScopeName(CommandScope scope)
{
    return scope == CommandScope::user ? "user" : "machine";
}

TransferRead ReadTransferJson(std::string_view utf8)
{
    TransferRead read;
    if (utf8.size() > kMaxTransferFile) {
        read.error = "The file is larger than any export of Verbosa.";
        return read;
    }
    // No exceptions: a malformed text gives a discarded value.
    const Json root = Json::parse(utf8.begin(), utf8.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        read.error = "The file is not valid JSON text.";
        return read;
    }
    const auto format = root.find("format");
    const auto version = root.find("version");
    if (format == root.end() || *format != kFormat || version == root.end() || !version->is_number_integer() ||
        *version != kVersion) {
        read.error = "The file is not a Verbosa export of version 1.";
        return read;
    }
    for (const char* list : {"commands", "fastFolders"}) {
        const auto found = root.find(list);
        if (found != root.end() && !found->is_array()) {
            read.error = std::string("\"") + list + "\" is not a list.";
            return read;
        }
    }
    if (const auto commands = root.find("commands"); commands != root.end())
        for (const Json& entry : *commands)
            read.commands.push_back(ReadCommand(entry));
    if (const auto folders = root.find("fastFolders"); folders != root.end())
        for (const Json& entry : *folders)
            read.fastFolders.push_back(ReadFolder(entry));
    return read;
}

std::string WriteTransferJson(const std::vector<TransferCommand>& commands,
                              const std::vector<TransferFolder>& fastFolders)
{
    Json root;
    root["format"] = kFormat;
    root["version"] = kVersion;
    root["commands"] = Json::array();
    for (const TransferCommand& command : commands)
        root["commands"].push_back({{"name", command.name},
                                    {"target", command.target},
                                    {"parameters", command.parameters},
                                    {"window", WindowModeName(command.window)},
                                    {"scope", ScopeName(command.scope)}});
    root["fastFolders"] = Json::array();
    for (const TransferFolder& folder : fastFolders)
        root["fastFolders"].push_back({{"alias", folder.alias}, {"path", folder.path}});
    try {
        return root.dump(2) + "\n";
    } catch (const Json::type_error&) {
        return {}; // a text that is not UTF-8
    }
}
