#include "shellext/RegistryScript.h"

#include "shellext/TextTools.h"

#include <cctype>

namespace tesselator {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The registry holds keys at most 512 levels deep; refusing deeper nesting
// also bounds the parser's recursion.
constexpr int kMaxKeyDepth = 512;

enum class TokenKind { Word, Quoted, OpenBrace, CloseBrace, Equals, End, Bad };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    size_t offset = 0;
};

class CTokenizer {
public:
    explicit CTokenizer(std::string_view text) : m_text(text) {}

    Token Next()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        Token token;
        token.offset = m_pos;
        if (m_pos == m_text.size())
            return token;
        if (m_text[m_pos] == '\'')
            return Quoted(token);
        // Words run to the next white space; braces and '=' stand alone.
        while (m_pos < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            token.text += m_text[m_pos++];
        if (token.text == "{")
            token.kind = TokenKind::OpenBrace;
        else if (token.text == "}")
            token.kind = TokenKind::CloseBrace;
        else if (token.text == "=")
            token.kind = TokenKind::Equals;
        else
            token.kind = TokenKind::Word;
        return token;
    }

private:
    Token Quoted(Token token)
    {
        ++m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c != '\'') {
                token.text += c;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
                token.text += '\'';
                ++m_pos;
                continue;
            }
            token.kind = TokenKind::Quoted;
            return token;
        }
        token.kind = TokenKind::Bad; // unterminated quote
        return token;
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

class CParser {
public:
    explicit CParser(std::string_view text) : m_tokens(text) { Advance(); }

    std::optional<RegistryScript> Parse()
    {
        RegistryScript script;
        while (m_token.kind != TokenKind::End) {
            ScriptBlock block;
            if (!ParseRoot(block.root) || !Expect(TokenKind::OpenBrace, "'{' after the root") ||
                !ParseKeys(block.keys) || !Expect(TokenKind::CloseBrace, "'}'"))
                return std::nullopt;
            script.blocks.push_back(std::move(block));
        }
        return script;
    }

    const std::string& Error() const { return m_error; }

private:
    void Advance() { m_token = m_tokens.Next(); }

    bool Fail(const std::string& what)
    {
        if (m_error.empty())
            m_error = what + " at offset " + std::to_string(m_token.offset);
        return false;
    }

    bool Expect(TokenKind kind, const char* what)
    {
        if (m_token.kind != kind)
            return Fail(std::string("expected ") + what);
        Advance();
        return true;
    }

    bool IsKeyword(const char* word) const
    {
        return m_token.kind == TokenKind::Word && EqualsNoCase(m_token.text, word);
    }

    bool ParseRoot(ScriptRoot& root)
    {
        struct RootName {
            const char* shortName;
            const char* longName;
            ScriptRoot root;
        };
        static const RootName kRoots[] = {
            {"HKCR", "HKEY_CLASSES_ROOT", ScriptRoot::ClassesRoot},
            {"HKCU", "HKEY_CURRENT_USER", ScriptRoot::CurrentUser},
            {"HKLM", "HKEY_LOCAL_MACHINE", ScriptRoot::LocalMachine},
        };
        for (const RootName& entry : kRoots) {
            if (IsKeyword(entry.shortName) || IsKeyword(entry.longName)) {
                root = entry.root;
                Advance();
                return true;
            }
        }
        return Fail("expected a root key");
    }

    bool ParseName(std::string& name)
    {
        if (m_token.kind != TokenKind::Word && m_token.kind != TokenKind::Quoted)
            return Fail("expected a name");
        if (m_token.text.empty())
            return Fail("empty name");
        name = m_token.text;
        Advance();
        return true;
    }

    // "= s 'text'"; the caller has seen the '='.
    bool ParseStringData(std::string& data)
    {
        Advance();
        if (!IsKeyword("s"))
            return Fail("expected the value type s");
        Advance();
        if (m_token.kind != TokenKind::Quoted)
            return Fail("expected quoted string data");
        data = m_token.text;
        Advance();
        return true;
    }

    // Entries up to (not including) the closing brace of the block; keys
    // directly under a root are at depth 1.
    bool ParseKeys(std::vector<ScriptKey>& keys, std::vector<ScriptValue>* values = nullptr, int depth = 1)
    {
        while (m_token.kind != TokenKind::CloseBrace) {
            if (m_token.kind == TokenKind::End || m_token.kind == TokenKind::Bad)
                return Fail("unexpected end of script");
            if (IsKeyword("val")) {
                if (!values)
                    return Fail("a named value directly under a root");
                Advance();
                ScriptValue value;
                if (!ParseName(value.name))
                    return false;
                if (m_token.kind != TokenKind::Equals)
                    return Fail("expected '=' after a value name");
                if (!ParseStringData(value.data))
                    return false;
                values->push_back(std::move(value));
                continue;
            }
            ScriptKey key;
            if (IsKeyword("NoRemove") || IsKeyword("ForceRemove")) {
                key.mode = IsKeyword("NoRemove") ? KeyMode::NoRemove : KeyMode::ForceRemove;
                Advance();
            }
            if (!ParseName(key.name))
                return false;
            if (m_token.kind == TokenKind::Equals) {
                std::string data;
                if (!ParseStringData(data))
                    return false;
                key.defaultValue = std::move(data);
            }
            if (m_token.kind == TokenKind::OpenBrace) {
                if (depth == kMaxKeyDepth)
                    return Fail("keys nested deeper than the registry allows");
                Advance();
                if (!ParseKeys(key.subkeys, &key.values, depth + 1) || !Expect(TokenKind::CloseBrace, "'}'"))
                    return false;
            }
            keys.push_back(std::move(key));
        }
        return true;
    }

    CTokenizer m_tokens;
    Token m_token;
    std::string m_error;
};

} // namespace

std::optional<std::string> ExpandScriptVariables(std::string_view script, const ScriptVariables& variables)
{
    std::string out;
    out.reserve(script.size());
    size_t pos = 0;
    while (pos < script.size()) {
        const size_t start = script.find('%', pos);
        if (start == std::string_view::npos) {
            out.append(script.substr(pos));
            break;
        }
        out.append(script.substr(pos, start - pos));
        const size_t end = script.find('%', start + 1);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = script.substr(start + 1, end - start - 1);
        if (name.empty()) {
            out += '%';
        } else {
            const std::pair<std::string, std::string>* found = nullptr;
            for (const auto& variable : variables) {
                if (EqualsNoCase(variable.first, name))
                    found = &variable;
            }
            if (!found)
                return std::nullopt;
            out += found->second;
        }
        pos = end + 1;
    }
    return out;
}

std::string DoubleSingleQuotes(std::string_view text)
{
    return DoubleEvery(text, '\'');
}

std::optional<RegistryScript> ParseRegistryScript(std::string_view script, std::string* error)
{
    CParser parser(script);
    std::optional<RegistryScript> result = parser.Parse();
    if (!result && error)
        *error = parser.Error();
    return result;
}

} // namespace tesselator
