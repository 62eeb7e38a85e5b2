#pragma once
// The registrar's script language, parsed into a tree before anything is
// written, so that a malformed script changes nothing. Syntax:
//   HKCR { [NoRemove|ForceRemove] name [= s 'text'] [{ ... }]
//          val name = s 'text' }
// Tokens are separated by white space (braces and '=' too, so a class id in
// braces is a bare name). Names are bare words or single-quoted; a quote
// inside quotes is doubled.
// Keywords are case-insensitive and only recognised when unquoted. Keys
// nest at most 512 levels deep, as in the registry.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tesselator {

enum class ScriptRoot { ClassesRoot, CurrentUser, LocalMachine };

// NoRemove: unregistration keeps the key. ForceRemove: registration deletes
// the key with its subtree before writing it again.
enum class KeyMode { Normal, NoRemove, ForceRemove };

struct ScriptValue {
    std::string name;
    std::string data;
};

struct ScriptKey {
    std::string name;
    KeyMode mode = KeyMode::Normal;
    std::optional<std::string> defaultValue;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> subkeys;
};

struct ScriptBlock {
    ScriptRoot root = ScriptRoot::ClassesRoot;
    std::vector<ScriptKey> keys;
};

struct RegistryScript {
    std::vector<ScriptBlock> blocks;
};

// Replaces each %NAME% by its value in one pass (replacements are not
// rescanned); "%%" stands for a single '%'. An unknown or unterminated
// variable makes the whole expansion fail.
using ScriptVariables = std::vector<std::pair<std::string, std::string>>;
std::optional<std::string> ExpandScriptVariables(std::string_view script,
                                                 const ScriptVariables& variables);

// Doubles every single quote, so the text can stand inside '...'.
std::string DoubleSingleQuotes(std::string_view text);

// nullopt on any syntax error; error (when given) says what and where.
std::optional<RegistryScript> ParseRegistryScript(std::string_view script,
                                                  std::string* error = nullptr);

} // namespace tesselator
