// The registrar: its script language, the %NAME% replacement and the
// executor on a scratch registry.
#include "shellext/RegistryScript.h"
#include "shellext/ScriptRunner.h"
#include "tests/shellext/ShellExtFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace tesselator;

// A value's raw bytes: text values hold UTF-16 with their terminator.
std::string ReadDefault(const std::wstring& key, const std::wstring& name = L"")
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadRawValue(HKEY_CLASSES_ROOT, key, name, type, bytes))
        return "<missing>";
    return bytes;
}

RegistryScript Parse(std::string_view text)
{
    std::string error;
    std::optional<RegistryScript> script = ParseRegistryScript(text, &error);
    EXPECT_TRUE(script.has_value()) << error;
    return script.value_or(RegistryScript{});
}

TEST(RegistryScript, ParsesNestingModesValuesAndQuotes)
{
    const RegistryScript script = Parse(R"(
        HKCR
        {
            NoRemove CLSID
            {
                ForceRemove {0000-AB} = s 'It''s a class'
                {
                    'with space' = s ''
                    Inproc = s 'C:\dir\x.dll'
                    {
                        val ThreadingModel = s 'Apartment'
                        VAL 'Odd Name' = s '''quoted'''
                    }
                    Empty
                }
            }
        }
        hkey_current_user { Plain }
    )");
    ASSERT_EQ(2u, script.blocks.size());
    EXPECT_EQ(ScriptRoot::ClassesRoot, script.blocks[0].root);
    EXPECT_EQ(ScriptRoot::CurrentUser, script.blocks[1].root);
    const ScriptKey& clsid = script.blocks[0].keys.at(0);
    EXPECT_EQ("CLSID", clsid.name);
    EXPECT_EQ(KeyMode::NoRemove, clsid.mode);
    EXPECT_FALSE(clsid.defaultValue.has_value());
    const ScriptKey& cls = clsid.subkeys.at(0);
    EXPECT_EQ("{0000-AB}", cls.name);
    EXPECT_EQ(KeyMode::ForceRemove, cls.mode);
    EXPECT_EQ("It's a class", cls.defaultValue.value_or("<none>"));
    ASSERT_EQ(3u, cls.subkeys.size());
    EXPECT_EQ("with space", cls.subkeys[0].name);
    EXPECT_EQ("", cls.subkeys[0].defaultValue.value_or("<none>"));
    const ScriptKey& inproc = cls.subkeys[1];
    EXPECT_EQ("C:\\dir\\x.dll", inproc.defaultValue.value_or("<none>"));
    ASSERT_EQ(2u, inproc.values.size());
    EXPECT_EQ("ThreadingModel", inproc.values[0].name);
    EXPECT_EQ("Apartment", inproc.values[0].data);
    EXPECT_EQ("Odd Name", inproc.values[1].name);
    EXPECT_EQ("'quoted'", inproc.values[1].data);
    EXPECT_EQ("Empty", cls.subkeys[2].name);
    EXPECT_EQ(KeyMode::Normal, cls.subkeys[2].mode);
    EXPECT_FALSE(cls.subkeys[2].defaultValue.has_value());
    // A keyword in quotes is a name.
    EXPECT_EQ("NoRemove", Parse("HKCR { 'NoRemove' }").blocks[0].keys.at(0).name);
}

TEST(RegistryScript, RejectsMalformedScripts)
{
    for (const char* text : {
             "HKCR { Key = s 'open }",        // unterminated quote
             "HKCR { Key = s 'a' ",           // missing brace
             "HKCR { Key } }",                // extra brace
             "HKXX { Key }",                  // unknown root
             "HKCR { Key = d '1' }",          // unsupported type
             "HKCR { Key = s unquoted }",     // data must be quoted
             "HKCR { val Name = s 'x' }",     // a value needs a key
             "HKCR { Key { val Name } }",     // a value needs data
             "HKCR { Key { = s 'x' } }",      // a name is missing
             "HKCR { '' = s 'x' }",           // empty name
         }) {
        std::string error;
        EXPECT_FALSE(ParseRegistryScript(text, &error).has_value()) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    EXPECT_TRUE(ParseRegistryScript("").has_value()); // nothing to do
}

TEST(RegistryScript, NestsKeysAsDeepAsTheRegistryAndNoDeeper)
{
    const auto nested = [](int levels) {
        std::string text = "HKCR {";
        for (int i = 1; i < levels; ++i)
            text += " k {";
        text += " k";
        for (int i = 1; i < levels; ++i)
            text += " }";
        return text + " }";
    };
    EXPECT_TRUE(ParseRegistryScript(nested(512)).has_value());
    EXPECT_FALSE(ParseRegistryScript(nested(513)).has_value());
    // Refused before the parser's recursion can exhaust the stack.
    EXPECT_FALSE(ParseRegistryScript(nested(100000)).has_value());
}

TEST(RegistryScript, ReplacesVariablesInOnePass)
{
    const ScriptVariables variables = {{"MODULE", "C:\\It''s\\%MODULE%.dll"}};
    EXPECT_EQ("s 'C:\\It''s\\%MODULE%.dll' 100%",
              ExpandScriptVariables("s '%MODULE%' 100%%", variables).value_or("<failed>"));
    EXPECT_EQ("x C:\\It''s\\%MODULE%.dll", ExpandScriptVariables("x %module%", variables).value_or("<failed>"));
    EXPECT_FALSE(ExpandScriptVariables("%OTHER%", variables).has_value());
    EXPECT_FALSE(ExpandScriptVariables("50% off", variables).has_value());

    EXPECT_EQ("it''s ''quoted''", DoubleSingleQuotes("it's 'quoted'"));
    // A doubled path survives the parser as the path itself.
    const std::string script = "HKCR { Key = s '" + DoubleSingleQuotes("C:\\Bob's\\x.dll") + "' }";
    EXPECT_EQ("C:\\Bob's\\x.dll", Parse(script).blocks[0].keys.at(0).defaultValue.value_or("<none>"));
}

TEST(ScriptRunner, RegistersAndUnregistersByTheKeyModes)
{
    CRegistrySandbox sandbox;
    const RegistryScript script = Parse(R"(
        HKCR
        {
            App.Name = s 'Description' { CurVer = s 'App.Name.1' }
            NoRemove Shared
            {
                ForceRemove Mine = s 'mine' { val Extra = s 'x' Sub }
                Plain { Inner = s 'in' }
                val Flag = s 'on'
            }
        }
    )");
    // Entries that ForceRemove must sweep away, and others' entries beside ours.
    CreateKey(HKEY_CLASSES_ROOT, L"Shared\\Mine\\Stale\\Deeper");
    CreateKey(HKEY_CLASSES_ROOT, L"Shared\\Theirs");
    CreateKey(HKEY_CLASSES_ROOT, L"Shared\\Plain\\Theirs");
    WriteStringValue(HKEY_CLASSES_ROOT, L"Shared", L"Kept", L"k");

    ASSERT_EQ(S_OK, RunRegistryScript(script, ScriptAction::Register));
    EXPECT_EQ(TextBytes(L"Description"), ReadDefault(L"App.Name"));
    EXPECT_EQ(TextBytes(L"App.Name.1"), ReadDefault(L"App.Name\\CurVer"));
    EXPECT_EQ(TextBytes(L"mine"), ReadDefault(L"Shared\\Mine"));
    EXPECT_EQ(TextBytes(L"x"), ReadDefault(L"Shared\\Mine", L"Extra"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Shared\\Mine\\Sub"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Shared\\Mine\\Stale"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Shared\\Plain\\Theirs")); // not ForceRemove: kept
    EXPECT_EQ(TextBytes(L"on"), ReadDefault(L"Shared", L"Flag"));

    ASSERT_EQ(S_OK, RunRegistryScript(script, ScriptAction::Unregister));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"App.Name"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Shared\\Mine"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Shared\\Plain"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Shared\\Theirs"));
    EXPECT_EQ("<missing>", ReadDefault(L"Shared", L"Flag"));
    EXPECT_EQ(TextBytes(L"k"), ReadDefault(L"Shared", L"Kept"));

    // Unregistering what is gone already is not a failure.
    EXPECT_EQ(S_OK, RunRegistryScript(script, ScriptAction::Unregister));
}

TEST(ScriptRunner, StopsAtAKeyItCannotWrite)
{
    CRegistrySandbox sandbox;
    CreateKey(HKEY_CLASSES_ROOT, L"Parent\\Locked");
    SetKeyDacl(HKEY_CLASSES_ROOT, L"Parent\\Locked", L"D:P(A;;KR;;;WD)");
    const RegistryScript script = Parse("HKCR { Parent { Locked = s 'x' } After = s 'y' }");
    EXPECT_EQ(E_ACCESSDENIED, RunRegistryScript(script, ScriptAction::Register));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"After"));
    SetKeyDacl(HKEY_CLASSES_ROOT, L"Parent\\Locked", L"D:(A;;KA;;;WD)");
}

} // namespace
