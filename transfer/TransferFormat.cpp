#include "transfer/TransferFormat.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <span>
#include <vector>

namespace {

constexpr const char* kFormat = "verbosa";
constexpr int kVersion = 1;
// Each entry's fields, in the order their problems are told.
constexpr const char* kCommandFields[] = {"name", "target", "parameters", "window", "scope"};
constexpr const char* kFolderFields[] = {"alias", "path"};

// The fields of one entry as the file gives them: a text, or present with
// another type (nullopt), or absent (not in the map of the entry).
struct Field {
    const char* name;
    bool seen = false;
    std::optional<std::string> text;
};

// A required field: false, with the reason, when missing or mistyped.
bool TakeText(const Field& field, std::string& out, std::string& problem)
{
    if (!field.seen || !field.text) {
        problem = std::string("\"") + field.name + "\" is missing or not a text";
        return false;
    }
    out = *field.text;
    return true;
}

TransferEntry<TransferCommand> MakeCommand(const std::vector<Field>& fields)
{
    TransferEntry<TransferCommand> read;
    TransferCommand& command = read.value;
    std::string window, scope;
    if (!TakeText(fields[0], command.name, read.problem) || !TakeText(fields[1], command.target, read.problem) ||
        !TakeText(fields[2], command.parameters, read.problem) || !TakeText(fields[3], window, read.problem) ||
        !TakeText(fields[4], scope, read.problem))
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

TransferEntry<TransferFolder> MakeFolder(const std::vector<Field>& fields)
{
    TransferEntry<TransferFolder> read;
    if (TakeText(fields[0], read.value.alias, read.problem))
        TakeText(fields[1], read.value.path, read.problem);
    return read;
}

// Walks the file's events against the format, keeping only what it needs:
// time linear in the file, memory bounded by the entries it accepts. A
// repeated key counts as its last occurrence, as a JSON object reads.
class CTransferWalker {
public:
    using Json = nlohmann::json;

    explicit CTransferWalker(TransferRead& read) : m_read(read) {}

    // Why the file was refused while walking it; empty when it was not.
    const std::string& Refusal() const { return m_refusal; }
    // After a complete walk: why the file as a whole is unusable, if it is.
    std::string Verdict() const
    {
        if (!m_formatOk || !m_versionOk)
            return "The file is not a Verbosa export of version 1.";
        for (const char* list : m_notLists)
            if (list)
                return std::string("\"") + list + "\" is not a list.";
        return {};
    }

    bool null() { return Scalar(); }
    bool boolean(bool) { return Scalar(); }
    bool number_integer(Json::number_integer_t value) { return Number(value == kVersion); }
    bool number_unsigned(Json::number_unsigned_t value) { return Number(value == kVersion); }
    bool number_float(Json::number_float_t, const std::string&) { return Scalar(); }
    bool binary(Json::binary_t&) { return Scalar(); }
    bool string(std::string& value)
    {
        if (Top() == Frame::root && m_key == "format")
            m_formatOk = value == kFormat;
        else if (Top() == Frame::entry)
            SetField(std::move(value));
        else
            return Scalar();
        return true;
    }
    bool key(std::string& key)
    {
        m_key = std::move(key);
        return true;
    }
    bool start_object(std::size_t) { return Open(true); }
    bool start_array(std::size_t) { return Open(false); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&)
    {
        return Refuse("The file is not valid JSON text.");
    }

private:
    enum class Frame { root, commandList, folderList, entry, ignored };

    Frame Top() const { return m_frames.empty() ? Frame::ignored : m_frames.back(); }

    bool Refuse(std::string why)
    {
        if (m_refusal.empty())
            m_refusal = std::move(why);
        return false;
    }

    // A value that is not a text or a container, wherever it stands.
    bool Scalar()
    {
        if (m_frames.empty())
            return Refuse("The file is not valid JSON text.");
        switch (Top()) {
        case Frame::root: RootValue(); break;
        case Frame::commandList:
        case Frame::folderList: return NewEntry(false);
        case Frame::entry: SetField(std::nullopt); break;
        case Frame::ignored: break;
        }
        return true;
    }

    bool Number(bool isVersion)
    {
        if (Top() == Frame::root && m_key == "version") {
            m_versionOk = isVersion;
            return true;
        }
        return Scalar();
    }

    // A value of the root object other than the one its key asks for.
    void RootValue()
    {
        if (m_key == "format")
            m_formatOk = false;
        else if (m_key == "version")
            m_versionOk = false;
        else if (m_key == "commands")
            m_notLists[0] = "commands";
        else if (m_key == "fastFolders")
            m_notLists[1] = "fastFolders";
    }

    bool Open(bool object)
    {
        if (m_frames.size() == kMaxTransferNesting)
            return Refuse("The file nests its values more than " + std::to_string(kMaxTransferNesting) +
                          " levels deep, deeper than any export of Verbosa.");
        if (m_frames.empty()) {
            if (!object)
                return Refuse("The file is not valid JSON text.");
            m_frames.push_back(Frame::root);
            return true;
        }
        Frame frame = Frame::ignored;
        switch (Top()) {
        case Frame::root:
            if (!object && (m_key == "commands" || m_key == "fastFolders")) {
                const bool commands = m_key == "commands";
                frame = commands ? Frame::commandList : Frame::folderList;
                m_notLists[commands ? 0 : 1] = nullptr;
                if (commands)
                    m_read.commands.clear(); // the last of a repeated key counts
                else
                    m_read.fastFolders.clear();
            } else {
                RootValue();
            }
            break;
        case Frame::commandList:
        case Frame::folderList:
            if (!NewEntry(object))
                return false;
            frame = object ? Frame::entry : Frame::ignored;
            break;
        case Frame::entry: SetField(std::nullopt); break;
        case Frame::ignored: break;
        }
        m_frames.push_back(frame);
        return true;
    }

    bool Close()
    {
        if (Top() == Frame::entry)
            FinishEntry();
        m_frames.pop_back();
        return true;
    }

    bool NewEntry(bool object)
    {
        const bool commands = Top() == Frame::commandList;
        const size_t held = commands ? m_read.commands.size() : m_read.fastFolders.size();
        const size_t most = commands ? kMaxTransferCommands : kMaxTransferFolders;
        if (held == most)
            return Refuse("The file lists more than " + std::to_string(most) +
                          (commands ? " commands" : " Fast Folders") + ", more than any export of Verbosa.");
        m_inCommands = commands;
        const std::string problem = object ? "" : "not an object";
        if (commands)
            m_read.commands.emplace_back().problem = problem;
        else
            m_read.fastFolders.emplace_back().problem = problem;
        if (object) {
            m_fields.clear();
            for (const char* name : commands ? std::span<const char* const>(kCommandFields)
                                             : std::span<const char* const>(kFolderFields))
                m_fields.push_back(Field{name, false, std::nullopt});
        }
        return true;
    }

    void SetField(std::optional<std::string> text)
    {
        for (Field& field : m_fields)
            if (m_key == field.name) {
                field.seen = true;
                field.text = std::move(text);
                return;
            }
    }

    void FinishEntry()
    {
        if (m_inCommands)
            m_read.commands.back() = MakeCommand(m_fields);
        else
            m_read.fastFolders.back() = MakeFolder(m_fields);
    }

    TransferRead& m_read;
    std::vector<Frame> m_frames;
    std::string m_key; // the last key read; values follow their key at once
    std::vector<Field> m_fields;
    bool m_inCommands = false;
    bool m_formatOk = false;
    bool m_versionOk = false;
    const char* m_notLists[2] = {};
    std::string m_refusal;
};

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
    CTransferWalker walker(read);
    const bool walked = nlohmann::json::sax_parse(utf8.begin(), utf8.end(), &walker);
    read.error = walked ? walker.Verdict() : walker.Refusal();
    if (!walked && read.error.empty())
        read.error = "The file is not valid JSON text.";
    if (!read.error.empty()) {
        read.commands.clear();
        read.fastFolders.clear();
    }
    return read;
}

std::string WriteTransferJson(const std::vector<TransferCommand>& commands,
                              const std::vector<TransferFolder>& fastFolders)
{
    using Json = nlohmann::ordered_json; // fields in the documented order
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
