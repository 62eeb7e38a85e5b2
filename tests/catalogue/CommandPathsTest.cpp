#include "catalogue/CommandPaths.h"
#include "catalogue/ShadowRules.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextList.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

TEST(CommandPaths, ParentFolderIsTheTextBeforeTheLastBackslash)
{
    EXPECT_EQ("C:\\Tools", GetParentFolder(std::string("C:\\Tools\\edit.exe")));
    EXPECT_EQ("C:", GetParentFolder(std::string("C:\\edit.exe")));
    EXPECT_EQ("C:\\Tools", GetParentFolder(std::string("C:\\Tools\\")));
    EXPECT_EQ("", GetParentFolder(std::string("\\edit.exe")));
    EXPECT_EQ("", GetParentFolder(std::string("edit.exe")));
    EXPECT_EQ("", GetParentFolder(std::string("")));
    EXPECT_EQ("http://x.org/a", GetParentFolder(std::string("http://x.org/a\\b")));
}

TEST(CommandPaths, TrailingBackslashesGoButARootKeepsIts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Data\\\\\\", "C:\\Data"}, {"C:\\", "C:\\"}, {"C:\\\\", "C:\\"}, {"\\\\", ""}, {"\\", ""}};
    for (const auto& [typed, trimmed] : cases)
        EXPECT_EQ(trimmed, TrimTrailingBackslashes(std::string(typed))) << typed;
}

TEST(CommandPaths, ItemsOfACommandLieInTheCmdsFolderBesideTheProgram)
{
    CTempProgramFolder folder;
    EXPECT_EQ(folder.Path(), GetProgramFolder());
    EXPECT_EQ(folder.Path() + L"\\Cmds", CmdsFolder());
    EXPECT_EQ(folder.Path() + L"\\Cmds\\run_notes.lnk", CommandLinkPath(L"notes"));
    EXPECT_EQ(folder.Path() + L"\\Cmds\\run_notes.cfg", CommandPropertiesPath(L"notes"));
    EXPECT_EQ(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\notes.exe", AppPathsKeyName(L"notes"));
}

TEST(CommandPaths, ExistingFolderMeansAFindFirstReportsADirectory)
{
    CTempProgramFolder folder;
    EXPECT_TRUE(IsExistingFolder(folder.Cmds()));
    EXPECT_FALSE(IsExistingFolder(folder.Cmds() + L"\\")); // trailing backslash: not found
    EXPECT_FALSE(IsExistingFolder(L"C:\\"));              // a drive root is no folder
    EXPECT_FALSE(IsExistingFolder(folder.Path() + L"\\missing"));
    EXPECT_FALSE(IsExistingFolder(L"http://example.com"));
    EXPECT_FALSE(IsExistingFolder(L""));
    WriteFileBytes(folder.Path() + L"\\file.txt", "x");
    EXPECT_FALSE(IsExistingFolder(folder.Path() + L"\\file.txt"));
}

} // namespace

TEST(ShadowRules, SearchPathAndExtensionsAreSplitAsTheShellDoes)
{
    EXPECT_EQ((Texts{L"C:\\Tools", L"C:\\My Tools", L"D:\\"}),
              SplitSearchPath(std::wstring(L" C:\\Tools\\ ;;\"C:\\My Tools\";D:\\;")));
    EXPECT_EQ(L".COM", SplitExtensions(std::wstring()).front()); // the system's list when unset
    EXPECT_EQ((Texts{L"C:\\a\\x.EXE", L"C:\\a\\x.BAT", L"D:\\x.EXE", L"D:\\x.BAT"}),
              ShadowCandidates(std::wstring(L"x"), {L"C:\\a", L"D:\\"}, SplitExtensions(std::wstring(L".EXE;.BAT"))));
}
