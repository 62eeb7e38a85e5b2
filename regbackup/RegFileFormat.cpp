#include "regbackup/RegFileFormat.h"

#include "framework/AsciiCase.h"

#include <map>

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kLineEnd = u"\r\n";
// A hex line is broken once it reaches this column, as the editor breaks
// them: with the backslash it stays within 80.
constexpr size_t kHexWrapColumn = 77;
constexpr std::u16string_view kHexBreak = u"\\\r\n  ";
constexpr size_t kHexBreakIndent = 2;

char16_t Unit(std::string_view bytes, size_t index)
{
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * index]) |
                                 static_cast<unsigned char>(bytes[2 * index + 1]) << 8);
}

void AppendUnit(std::string& bytes, char16_t unit)
{
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
}

bool IsLineBreakOrNull(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == u'\0';
}

bool HasLineBreakOrNull(std::u16string_view text)
{
    for (char16_t c : text)
        if (IsLineBreakOrNull(c))
            return true;
    return false;
}

// A name one level of the path can carry and the registry can hold.
bool IsKeyNameWritable(std::u16string_view name)
{
    return !name.empty() && name.size() <= kMaxRegKeyNameLength && name != u"." && name != u".." &&
           name.find(u'\\') == std::u16string_view::npos && !HasLineBreakOrNull(name);
}

// ---- writing ----

void AppendHexDigits(std::u16string& out, uint32_t value, int minDigits)
{
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    char16_t digits[8];
    int count = 0;
    do {
        digits[count++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0 || count < minDigits);
    while (count > 0)
        out += digits[--count];
}

void AppendQuoted(std::u16string& out, std::u16string_view text)
{
    out += u'"';
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    out += u'"';
}

// REG_SZ bytes that the quoted form gives back exactly: whole UTF-16 units,
// one terminator at the end, no other null and no line break.
bool IsQuotableString(const std::string& data)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    const size_t units = data.size() / 2;
    if (Unit(data, units - 1) != 0)
        return false;
    for (size_t i = 0; i + 1 < units; ++i)
        if (IsLineBreakOrNull(Unit(data, i)))
            return false;
    return true;
}

void AppendValue(std::u16string& out, const RegValue& value)
{
    const size_t lineStart = out.size();
    if (value.name.empty())
        out += u"@";
    else
        AppendQuoted(out, value.name);
    out += u'=';
    if (value.type == kRegSz && IsQuotableString(value.data)) {
        std::u16string text;
        for (size_t i = 0; i + 1 < value.data.size() / 2; ++i)
            text += Unit(value.data, i);
        AppendQuoted(out, text);
    } else if (value.type == kRegDword && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | static_cast<unsigned char>(value.data[static_cast<size_t>(i)]);
        out += u"dword:";
        AppendHexDigits(out, number, 8);
    } else {
        if (value.type == kRegBinary) {
            out += u"hex:";
        } else {
            out += u"hex(";
            AppendHexDigits(out, value.type, 1);
            out += u"):";
        }
        size_t column = out.size() - lineStart;
        for (size_t i = 0; i < value.data.size(); ++i) {
            AppendHexDigits(out, static_cast<unsigned char>(value.data[i]), 2);
            if (i + 1 == value.data.size())
                break;
            out += u',';
            column += 3;
            if (column >= kHexWrapColumn) {
                out += kHexBreak;
                column = kHexBreakIndent;
            }
        }
    }
    out += kLineEnd;
}

bool AppendKey(std::u16string& out, const RegKey& key, const std::u16string& path, int depth, std::string& why)
{
    if (depth > kMaxRegDepth) {
        why = "The key has more than " + std::to_string(kMaxRegDepth) + " levels of subkeys.";
        return false;
    }
    out += u'[';
    out += path;
    out += u']';
    out += kLineEnd;
    for (const RegValue& value : key.values) {
        if (HasLineBreakOrNull(value.name) || value.name.size() > kMaxRegValueNameLength) {
            why = "A value name holds a line break or a null character, or is too long.";
            return false;
        }
        AppendValue(out, value);
    }
    out += kLineEnd;
    for (const RegKey& subkey : key.subkeys) {
        if (!IsKeyNameWritable(subkey.name)) {
            why = "A subkey's name cannot be written to a file (it is empty, . or .., or holds a line break).";
            return false;
        }
        if (!AppendKey(out, subkey, path + u'\\' + subkey.name, depth + 1, why))
            return false;
    }
    return true;
}

// ---- reading ----

struct Node {
    RegKey key; // name and values; the subkeys are assembled at the end
    std::vector<size_t> children;
    std::map<std::u16string, size_t> childByName;   // folded name
    std::map<std::u16string, size_t> valueByName;   // folded name
};

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

std::u16string_view TrimBlanks(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

int HexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    c = AsciiLower(c);
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// 1 to maxDigits hex digits, the whole text.
bool ParseHexNumber(std::u16string_view text, size_t maxDigits, uint32_t& number)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    number = 0;
    for (char16_t c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return false;
        number = number << 4 | static_cast<uint32_t>(digit);
    }
    return true;
}

class CRegFileReader {
public:
    explicit CRegFileReader(std::vector<std::u16string_view> lines) : m_lines(std::move(lines)) {}

    RegFileRead Read()
    {
        RegFileRead read;
        if (m_lines.empty() || TrimBlanks(m_lines[0]) != kHeader) {
            read.error = "The file is not in the registry editor's format (version 5.00).";
            return read;
        }
        for (m_at = 1; m_at < m_lines.size(); ++m_at) {
            const std::u16string_view line = TrimBlanks(m_lines[m_at]);
            if (line.empty() || line.front() == u';')
                continue;
            const bool good = line.front() == u'[' ? ReadSection(line) : ReadValue(line);
            if (!good) {
                read.error = "Line " + std::to_string(m_at + 1) + ": " + m_why;
                return read;
            }
        }
        if (m_nodes.empty()) {
            read.error = "The file holds no key.";
            return read;
        }
        read.root = Assemble(0);
        return read;
    }

private:
    bool Fail(const char* why)
    {
        m_why = why;
        return false;
    }

    bool ReadSection(std::u16string_view line)
    {
        const size_t close = line.rfind(u']');
        if (close == std::u16string_view::npos || close + 1 != line.size())
            return Fail("a key's line does not end with ].");
        const std::u16string_view path = line.substr(1, close - 1);
        if (!path.empty() && path.front() == u'-')
            return Fail("the file deletes a key; a backup never does.");
        if (path.empty() || HasLineBreakOrNull(path))
            return Fail("a key's path is empty or holds a null character.");
        if (m_nodes.empty()) {
            if (path.find(u"\\\\") != std::u16string_view::npos || path.back() == u'\\')
                return Fail("a key's path has an empty level.");
            m_nodes.emplace_back();
            m_nodes[0].key.name = std::u16string(path);
            m_current = 0;
            return true;
        }
        const std::u16string& rootPath = m_nodes[0].key.name;
        if (EqualIgnoringAsciiCase(path, rootPath)) {
            m_current = 0;
            return true;
        }
        if (path.size() <= rootPath.size() + 1 || !StartsWithIgnoringAsciiCase(path, rootPath) ||
            path[rootPath.size()] != u'\\')
            return Fail("a key lies outside the first key of the file.");
        size_t node = 0;
        int depth = 0;
        std::u16string_view rest = path.substr(rootPath.size() + 1);
        while (true) {
            const size_t slash = rest.find(u'\\');
            const std::u16string_view name = rest.substr(0, slash);
            if (!IsKeyNameWritable(name))
                return Fail("a subkey's name is empty, . or .., or longer than 255 characters.");
            if (++depth > kMaxRegDepth)
                return Fail("the keys are nested too deeply.");
            node = Child(node, name);
            if (slash == std::u16string_view::npos)
                break;
            rest.remove_prefix(slash + 1);
        }
        m_current = node;
        return true;
    }

    size_t Child(size_t parent, std::u16string_view name)
    {
        const std::u16string folded = AsciiLower(std::u16string(name));
        if (const auto found = m_nodes[parent].childByName.find(folded); found != m_nodes[parent].childByName.end())
            return found->second;
        const size_t index = m_nodes.size();
        m_nodes.emplace_back();
        m_nodes[index].key.name = std::u16string(name);
        m_nodes[parent].children.push_back(index);
        m_nodes[parent].childByName.emplace(folded, index);
        return index;
    }

    // A quoted text from text[0] == '"'; rest is what follows the closing quote.
    bool ReadQuoted(std::u16string_view text, std::u16string& out, std::u16string_view& rest)
    {
        out.clear();
        for (size_t i = 1; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (c == u'"') {
                rest = text.substr(i + 1);
                return true;
            }
            if (c == u'\\') {
                if (i + 1 == text.size() || (text[i + 1] != u'\\' && text[i + 1] != u'"'))
                    return Fail("a backslash in quotes must be followed by \\ or \".");
                ++i;
            }
            out += text[i];
        }
        return Fail("a quoted text has no closing quote.");
    }

    bool ReadValue(std::u16string_view line)
    {
        if (m_nodes.empty())
            return Fail("a value comes before any key.");
        RegValue value;
        std::u16string_view rest;
        if (line.front() == u'@') {
            rest = line.substr(1);
        } else if (line.front() == u'"') {
            if (!ReadQuoted(line, value.name, rest))
                return false;
            if (HasLineBreakOrNull(value.name) || value.name.size() > kMaxRegValueNameLength)
                return Fail("a value name holds a control character or is too long.");
        } else {
            return Fail("the line is neither a key, a value nor a comment.");
        }
        rest = TrimBlanks(rest);
        if (rest.empty() || rest.front() != u'=')
            return Fail("a value name is not followed by =.");
        rest = TrimBlanks(rest.substr(1));
        if (!ReadData(rest, value))
            return false;
        Store(std::move(value));
        return true;
    }

    bool ReadData(std::u16string_view data, RegValue& value)
    {
        if (!data.empty() && data.front() == u'-')
            return Fail("the file deletes a value; a backup never does.");
        if (!data.empty() && data.front() == u'"') {
            std::u16string text;
            std::u16string_view after;
            if (!ReadQuoted(data, text, after))
                return false;
            if (!TrimBlanks(after).empty())
                return Fail("text follows a quoted value.");
            value.type = kRegSz;
            for (char16_t c : text)
                AppendUnit(value.data, c);
            AppendUnit(value.data, 0);
            return true;
        }
        if (StartsWithIgnoringAsciiCase(data, u"dword:")) {
            uint32_t number = 0;
            if (!ParseHexNumber(data.substr(6), 8, number))
                return Fail("a dword value is not one to eight hex digits.");
            value.type = kRegDword;
            for (int i = 0; i < 4; ++i)
                value.data += static_cast<char>(number >> (8 * i) & 0xFF);
            return true;
        }
        if (StartsWithIgnoringAsciiCase(data, u"hex:")) {
            value.type = kRegBinary;
            return ReadHexBytes(data.substr(4), value.data);
        }
        if (StartsWithIgnoringAsciiCase(data, u"hex(")) {
            const size_t close = data.find(u"):");
            if (close == std::u16string_view::npos || !ParseHexNumber(data.substr(4, close - 4), 8, value.type))
                return Fail("a hex(type) value names no type.");
            return ReadHexBytes(data.substr(close + 2), value.data);
        }
        return Fail("a value's data is not text, dword: or hex.");
    }

    // Comma-separated bytes; a line ending in a backslash goes on in the next.
    bool ReadHexBytes(std::u16string_view first, std::string& bytes)
    {
        std::u16string text(TrimBlanks(first));
        while (!text.empty() && text.back() == u'\\') {
            text.pop_back();
            if (m_at + 1 >= m_lines.size())
                return Fail("hex data goes on past the end of the file.");
            ++m_at;
            text += TrimBlanks(m_lines[m_at]);
        }
        std::u16string_view rest = TrimBlanks(text);
        if (rest.empty())
            return true;
        while (true) {
            const size_t comma = rest.find(u',');
            uint32_t byte = 0;
            if (!ParseHexNumber(TrimBlanks(rest.substr(0, comma)), 2, byte))
                return Fail("hex data holds something other than bytes between commas.");
            bytes += static_cast<char>(byte);
            if (comma == std::u16string_view::npos)
                return true;
            rest.remove_prefix(comma + 1);
        }
    }

    void Store(RegValue value)
    {
        Node& node = m_nodes[m_current];
        const std::u16string folded = AsciiLower(value.name);
        if (const auto found = node.valueByName.find(folded); found != node.valueByName.end()) {
            // The later line wins, as an import would leave it; the name keeps its first spelling.
            RegValue& earlier = node.key.values[found->second];
            earlier.type = value.type;
            earlier.data = std::move(value.data);
            return;
        }
        node.valueByName.emplace(folded, node.key.values.size());
        node.key.values.push_back(std::move(value));
    }

    RegKey Assemble(size_t index)
    {
        RegKey key = std::move(m_nodes[index].key);
        for (size_t child : m_nodes[index].children)
            key.subkeys.push_back(Assemble(child));
        return key;
    }

    std::vector<std::u16string_view> m_lines;
    size_t m_at = 0;
    std::vector<Node> m_nodes;
    size_t m_current = 0;
    std::string m_why;
};

} // namespace

std::u16string WidenAscii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

bool WriteRegFile(const RegKey& root, std::string& bytes, std::string& why)
{
    if (root.name.empty() || HasLineBreakOrNull(root.name)) {
        why = "The key's path cannot be written to a file.";
        return false;
    }
    std::u16string text(kHeader);
    text += kLineEnd;
    text += kLineEnd;
    if (!AppendKey(text, root, root.name, 0, why))
        return false;
    bytes.clear();
    bytes.reserve(2 + 2 * text.size());
    AppendUnit(bytes, 0xFEFF);
    for (char16_t c : text)
        AppendUnit(bytes, c);
    return true;
}

RegFileRead ReadRegFile(std::string_view bytes)
{
    RegFileRead read;
    if (bytes.size() > kMaxRegFileBytes) {
        read.error = "The file is larger than any backup of Verbosa.";
        return read;
    }
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || Unit(bytes, 0) != 0xFEFF) {
        read.error = "The file is not UTF-16 text with a byte order mark, as the registry editor writes.";
        return read;
    }
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 1; i < bytes.size() / 2; ++i)
        text += Unit(bytes, i);
    std::vector<std::u16string_view> lines;
    std::u16string_view rest = text;
    while (true) {
        const size_t end = rest.find(u'\n');
        std::u16string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::u16string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return CRegFileReader(std::move(lines)).Read();
}
