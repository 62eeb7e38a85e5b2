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
        EXPECT_EQ(trimmed, TrimTrailingBackslashes(typed)) << typed;
}

TEST(CommandPaths, ItemsOfACommandLieInTheCmdsFolderBesideTheProgram)
{
    CTempProgramFolder folder;
    EXPECT_EQ(folder.Path(), GetProgramFolder());
    EXPECT_EQ(folder.Path() + "\\Cmds", CmdsFolder());
    EXPECT_EQ(folder.Path() + "\\Cmds\\run_notes.lnk", CommandLinkPath("notes"));
    EXPECT_EQ(folder.Path() + "\\Cmds\\run_notes.cfg", CommandPropertiesPath("notes"));
    EXPECT_EQ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\notes.exe", AppPathsKeyName("notes"));
}

TEST(CommandPaths, ExistingFolderMeansAFindFirstReportsADirectory)
{
    CTempProgramFolder folder;
    EXPECT_TRUE(IsExistingFolder(folder.Cmds()));
    EXPECT_FALSE(IsExistingFolder(folder.Cmds() + "\\")); // trailing backslash: not found
    EXPECT_FALSE(IsExistingFolder("C:\\"));              // a drive root is no folder
    EXPECT_FALSE(IsExistingFolder(folder.Path() + "\\missing"));
    EXPECT_FALSE(IsExistingFolder("http://example.com"));
    EXPECT_FALSE(IsExistingFolder(""));
    WriteFileBytes(folder.Path() + "\\file.txt", "x");
    EXPECT_FALSE(IsExistingFolder(folder.Path() + "\\file.txt"));
}

} // namespace

TEST(ShadowRules, SearchPathAndExtensionsAreSplitAsTheShellDoes)
{
    EXPECT_EQ((Texts{"C:\\Tools", "C:\\My Tools", "D:\\"}),
              SplitSearchPath(std::string(" C:\\Tools\\ ;;\"C:\\My Tools\";D:\\;")));
    EXPECT_EQ(".COM", SplitExtensions(std::string("")).front()); // the system's list when unset
    EXPECT_EQ((Texts{"C:\\a\\x.EXE", "C:\\a\\x.BAT", "D:\\x.EXE", "D:\\x.BAT"}),
              ShadowCandidates("x", {"C:\\a", "D:\\"}, SplitExtensions(std::string(".EXE;.BAT"))));
}
