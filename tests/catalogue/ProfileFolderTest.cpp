// A user whose profile folder the code page cannot spell, found as the
// program finds it (the shell's AppData folder), and a target in a folder
// of another script with parameters in a third.
#include "tests/catalogue/CatalogueFixture.h"

#include "catalogue/Commands.h"
#include "framework/ProgramFolders.h"
#include "tests/support/LinkReader.h"

namespace {

constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

} // namespace

TEST_F(CatalogueTest, AJustMeCommandLivesInAProfileTheCodePageCannotSpell)
{
    // C:\Users\Łukasz\AppData\Roaming, inside the scratch folder.
    const std::wstring profile = folder.Path() + L"\\\x0141ukasz";
    const std::wstring roaming = profile + L"\\AppData\\Roaming";
    for (const std::wstring& made : {profile, profile + L"\\AppData", roaming})
        ASSERT_TRUE(CreateDirectoryW(made.c_str(), nullptr));
    WriteStringValue(HKEY_CURRENT_USER, kUserShellFolders, L"AppData", roaming, REG_EXPAND_SZ);
    WriteStringValue(HKEY_CURRENT_USER, kShellFolders, L"AppData", roaming);
    Services().userDataFolder.clear(); // the shell's answer, not the tests' stand-in
    ASSERT_EQ(roaming + L"\\Verbosa", UserDataFolder());

    // A program in a Cyrillic folder, parameters in Polish and Greek.
    const std::wstring tools = folder.Path() + L"\\\x0418\x043D\x0441\x0442\x0440\x0443\x043C\x0435\x043D\x0442\x044B";
    const std::wstring target = tools + L"\\tool.exe";
    const std::wstring parameters = L"-f za\x017C\x00F3\x0142\x0107.txt \x03B1\x03B2\x03B3";
    ASSERT_TRUE(CreateDirectoryW(tools.c_str(), nullptr));
    WriteFileBytes(target, "MZ");

    ASSERT_TRUE(CreateCommand(L"tool", target, parameters, SW_SHOWNORMAL, CommandScope::user));
    EXPECT_TRUE(boxes.Texts().empty());

    // The Run dialog's way: the entry names the shortcut, the shortcut the target.
    const std::wstring cmds = roaming + L"\\Verbosa\\Cmds";
    EXPECT_EQ(CommandLinkFile(cmds, L"tool"), ReadStringValue(HKEY_CURRENT_USER, Key(L"tool")));
    LinkFields link;
    ASSERT_TRUE(ReadLink(CommandLinkFile(cmds, L"tool"), link));
    EXPECT_EQ(target, link.itemPath);
    EXPECT_EQ(parameters, link.arguments);
    EXPECT_EQ(tools, link.workingDirectory);
    // Fields outside the code page: the properties file is UTF-8 with a mark.
    const std::string properties = ReadFileBytes(CommandPropertiesFile(cmds, L"tool"));
    EXPECT_EQ("\xEF\xBB\xBF" + PropertiesBytes({"tool", WideToUtf8(target).value(), WideToUtf8(parameters).value(), "1"}),
              properties);

    EXPECT_TRUE(DeleteCommand(L"tool", CommandScope::user));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key(L"tool")));
    EXPECT_FALSE(FileExists(CommandLinkFile(cmds, L"tool")));
    EXPECT_FALSE(FileExists(CommandPropertiesFile(cmds, L"tool")));
}
