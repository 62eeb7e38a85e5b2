// The registrar's script language. Any text either fails to parse or gives
// a tree that, printed back with every name and text quoted, parses to the
// same tree; the library's path, whatever its bytes, comes out of
// %MODULE% expansion and parsing as it went in.
#include "fuzz/Check.h"
#include "shellext/RegistryScript.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

using namespace tesselator;

std::string Quoted(const std::string& text)
{
    return "'" + DoubleSingleQuotes(text) + "'";
}

void PrintKeys(const std::vector<ScriptKey>& keys, std::string& out)
{
    for (const ScriptKey& key : keys) {
        if (key.mode != KeyMode::Normal)
            out += key.mode == KeyMode::NoRemove ? "NoRemove " : "ForceRemove ";
        out += Quoted(key.name);
        if (key.defaultValue)
            out += " = s " + Quoted(*key.defaultValue);
        out += "\n{\n";
        for (const ScriptValue& value : key.values)
            out += "val " + Quoted(value.name) + " = s " + Quoted(value.data) + "\n";
        PrintKeys(key.subkeys, out);
        out += "}\n";
    }
}

std::string Print(const RegistryScript& script)
{
    std::string out;
    for (const ScriptBlock& block : script.blocks) {
        out += block.root == ScriptRoot::ClassesRoot ? "HKCR" : block.root == ScriptRoot::CurrentUser ? "HKCU" : "HKLM";
        out += "\n{\n";
        PrintKeys(block.keys, out);
        out += "}\n";
    }
    return out;
}

bool SameKeys(const std::vector<ScriptKey>& a, const std::vector<ScriptKey>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].mode != b[i].mode || a[i].defaultValue != b[i].defaultValue ||
            a[i].values.size() != b[i].values.size() || !SameKeys(a[i].subkeys, b[i].subkeys))
            return false;
        for (size_t v = 0; v < a[i].values.size(); ++v) {
            if (a[i].values[v].name != b[i].values[v].name || a[i].values[v].data != b[i].values[v].data)
                return false;
        }
    }
    return true;
}

bool Same(const RegistryScript& a, const RegistryScript& b)
{
    if (a.blocks.size() != b.blocks.size())
        return false;
    for (size_t i = 0; i < a.blocks.size(); ++i) {
        if (a.blocks[i].root != b.blocks[i].root || !SameKeys(a.blocks[i].keys, b.blocks[i].keys))
            return false;
    }
    return true;
}

void CheckAnyScript(const std::string& text)
{
    std::string error;
    const std::optional<RegistryScript> script = ParseRegistryScript(text, &error);
    if (!script) {
        FUZZ_CHECK(!error.empty());
        return;
    }
    const std::optional<RegistryScript> again = ParseRegistryScript(Print(*script));
    FUZZ_CHECK(again && Same(*script, *again));
}

void CheckModulePath(const std::string& path)
{
    const std::optional<std::string> expanded = ExpandScriptVariables(
        "HKCR { NoRemove CLSID { Server = s '%MODULE%' { val 'Path' = s '%module%%%' } } }",
        {{"MODULE", DoubleSingleQuotes(path)}});
    FUZZ_CHECK(expanded);
    const std::optional<RegistryScript> script = ParseRegistryScript(*expanded);
    FUZZ_CHECK(script && script->blocks.size() == 1);
    const ScriptKey& server = script->blocks[0].keys.at(0).subkeys.at(0);
    FUZZ_CHECK(server.defaultValue == path);
    FUZZ_CHECK(server.values.at(0).data == path + "%");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckAnyScript(text);
    // Expansion: text without '%' is left alone.
    const std::optional<std::string> expanded = ExpandScriptVariables(text, {{"MODULE", "m"}});
    if (text.find('%') == std::string::npos)
        FUZZ_CHECK(expanded == text);
    CheckModulePath(text);
    return 0;
}
