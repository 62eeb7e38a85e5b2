#include "tests/app/MainWindowFixture.h"

#include "catalogue/CommandProperties.h"
#include "catalogue/Commands.h"
#include "resources/FileProblemsIds.h"
#include "resources/Texts.h"
#include "tests/support/DialogDriver.h"

#include <shellapi.h>

namespace {

// The order a file-system search returns the properties files in.
Texts SearchOrder(const std::string& cmds)
{
    return FileNames(cmds + "\\*.cfg");
}

TEST_F(MainWindowTest, ListsEveryCommandFileWithThreeLinesInSearchOrder)
{
    WriteCommandFile("zeta", {"zeta", "C:\\z.exe", "-q", "1"});
    WriteCommandFile("alpha", {"alpha", "http://example.com/", "", "3"});
    WriteCommandFile("empty3", {"empty3", "C:\\Data", ""});          // empty third line: listed
    WriteFileBytes(folder.Cmds() + "\\run_two.cfg", "two\r\nC:\\two.exe\r\n"); // ends after line 2
    WriteFileBytes(folder.Cmds() + "\\run_lf.cfg", "lf\nC:\\lf.txt\nx y"); // LF breaks, last line open
    CreateDirectoryA((folder.Cmds() + "\\dir.cfg").c_str(), nullptr);      // a folder is no command
    WriteFileBytes(folder.Cmds() + "\\notes.txt", "notes\r\nC:\\n.exe\r\n\r\n");

    Open();
    Texts expected;
    for (const std::string& file : SearchOrder(folder.Cmds())) {
        const std::string name = file.substr(4, file.size() - 8); // run_<name>.cfg
        if (name != "two")
            expected.push_back(name);
    }
    EXPECT_EQ(4u, expected.size());
    EXPECT_EQ(expected, Column(0));
    for (size_t i = 0; i < expected.size(); ++i) {
        const int row = static_cast<int>(i);
        const std::string& name = expected[i];
        const std::string target = window->CommandsPage().List().GetItemText(row, 1);
        const std::string parameters = window->CommandsPage().List().GetItemText(row, 2);
        if (name == "zeta") {
            EXPECT_EQ("C:\\z.exe", target);
            EXPECT_EQ("-q", parameters);
        } else if (name == "empty3") {
            EXPECT_EQ("C:\\Data", target);
            EXPECT_EQ("", parameters);
        } else if (name == "lf") {
            EXPECT_EQ("C:\\lf.txt", target);
            EXPECT_EQ("x y", parameters);
        }
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MainWindowTest, AFileThatCannotBeOpenedIsReportedAndTheOthersAreStillListed)
{
    for (const char* name : {"a", "b", "c", "d"})
        WriteCommandFile(name, {name, "C:\\x.exe", "", "1"});
    const Texts order = SearchOrder(folder.Cmds());
    // Lock the second file the search returns.
    const std::string locked = folder.Cmds() + "\\" + order[1];
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);

    Open();
    EXPECT_EQ(3, window->CommandsPage().List().GetItemCount());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("A sharing violation occurred while accessing " + locked + ".", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_ICONSTOP), boxes.Boxes()[0].type & MB_ICONMASK);
    // The rest of start-up went on: the status bar exists.
    EXPECT_EQ("My Commands", Pane(0));
    CloseHandle(hold);

    window->CommandsPage().FillCommandList();
    EXPECT_EQ(4, window->CommandsPage().List().GetItemCount());
}

TEST_F(MainWindowTest, AFileWithALineNoCommandHoldsIsReportedAndTheOthersAreStillListed)
{
    WriteCommandFile("a", {"a", "C:\\x.exe", "", "1"});
    WriteCommandFile("huge", {"huge", "C:\\x.exe", std::string(kMaxPropertiesLine + 1, 'p'), "1"});
    Open();
    EXPECT_EQ(Texts{"a"}, Column(0));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(folder.Cmds() + "\\run_huge.cfg could not be read: a line is longer than any command holds.",
              boxes.Boxes()[0].text);
}

TEST_F(MainWindowTest, SeveralUnreadableFilesAreListedInOneMessage)
{
    WriteCommandFile("a", {"a", "C:\\x.exe", "", "1"});
    for (const char* name : {"h1", "h2", "h3"})
        WriteCommandFile(name, {name, "C:\\x.exe", std::string(kMaxPropertiesLine + 1, 'p'), "1"});
    std::string list;
    Services().modalDialog = [&](CDialog& dialog) {
        modals.push_back(dialog.GetTemplateId());
        list = Field(dialog, IDC_FP_LIST, 4096);
    };
    Open();
    EXPECT_EQ(Texts{"a"}, Column(0));
    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_EQ(std::vector<UINT>{IDD_FILE_PROBLEMS}, modals);
    for (const char* name : {"h1", "h2", "h3"})
        EXPECT_NE(std::string::npos, list.find(folder.Cmds() + "\\run_" + name + ".cfg could not be read")) << list;
}

TEST_F(MainWindowTest, AMissingCmdsFolderGivesAnEmptyListSilently)
{
    RemoveTree(folder.Cmds());
    Open();
    EXPECT_EQ(0, window->CommandsPage().List().GetItemCount());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MainWindowTest, EachRefreshEmptiesTheImageListAndRowsKeepTheirOwnIcons)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    WriteCommandFile("ed", {"ed", std::string(windows) + "\\notepad.exe", "", "1"});
    WriteCommandFile("ed2", {"ed2", std::string(windows) + "\\notepad.exe", "", "1"});
    WriteCommandFile("win", {"win", windows, "", "1"});
    WriteCommandFile("gone", {"gone", "C:\\no\\such.unknownext", "", "1"});
    Open();
    const CImageList& images = window->CommandsPage().Images();
    const int first = images.GetImageCount();
    EXPECT_EQ(3, first); // notepad shared by two rows, the folder, SHELL32's icon 0
    for (int i = 0; i < 5; ++i)
        window->CommandsPage().FillCommandList();
    EXPECT_EQ(first, images.GetImageCount());

    const CListCtrl& list = window->CommandsPage().List();
    auto imageOf = [&](const std::string& name) {
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (list.GetItemText(row, 0) == name)
                return list.GetItemImage(row);
        return -2;
    };
    EXPECT_EQ(imageOf("ed"), imageOf("ed2"));
    EXPECT_NE(imageOf("ed"), imageOf("win"));
    EXPECT_NE(imageOf("win"), imageOf("gone"));
    for (const char* name : {"ed", "win", "gone"}) {
        EXPECT_GE(imageOf(name), 0) << name;
        EXPECT_LT(imageOf(name), images.GetImageCount()) << name;
    }
}

TEST_F(MainWindowTest, FastFolderRowsShowTheFolderIconAndStartEachRefreshAfresh)
{
    Open();
    window->FoldersPage().AddFastFolderRow("Docs", "C:\\Docs");
    window->FoldersPage().AddFastFolderRow("Temp", "C:\\Temp");
    EXPECT_EQ(2, window->FoldersPage().List().GetItemCount());
    EXPECT_EQ("Temp", window->FoldersPage().List().GetItemText(1, 0));
    EXPECT_EQ("C:\\Temp", window->FoldersPage().List().GetItemText(1, 1));
    EXPECT_EQ(1, window->FoldersPage().List().GetItemImage(1));
    window->FoldersPage().List().DeleteAllItems(); // as a refresh does
    window->FoldersPage().AddFastFolderRow("Docs", "C:\\Docs");
    EXPECT_EQ(1, window->FoldersPage().Images().GetImageCount());
}

TEST_F(MainWindowTest, DeleteAsksAndOnYesRemovesTheCommandAndRebuildsTheList)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\edit.exe", "", 1));
    ASSERT_TRUE(CreateCommand("memo", "C:\\memo.exe", "", 1));
    Open();
    ASSERT_EQ(2, window->CommandsPage().List().GetItemCount());

    // No selection: nothing asked, nothing done.
    Command(IDC_DELETE_COMMAND);
    Command(ID_COMMAND_DELETE);
    Command(ID_COMMAND_SECURITY);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(shell.empty());

    auto select = [&](const std::string& name) {
        for (int row = 0; row < window->CommandsPage().List().GetItemCount(); ++row)
            if (window->CommandsPage().List().GetItemText(row, 0) == name)
                window->CommandsPage().List().SelectItem(row);
    };
    select("notes");
    boxes.Answer(IDNO);
    Command(IDC_DELETE_COMMAND);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Do you want to delete the command: notes?", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type);
    EXPECT_TRUE(FileExists(folder.Cmds() + "\\run_notes.cfg"));
    EXPECT_EQ(2, window->CommandsPage().List().GetItemCount());

    boxes.Clear();
    boxes.Answer(IDYES);
    Command(ID_COMMAND_DELETE);
    EXPECT_EQ(Texts{"Do you want to delete the command: notes?"}, boxes.Texts());
    EXPECT_FALSE(FileExists(folder.Cmds() + "\\run_notes.cfg"));
    EXPECT_FALSE(FileExists(folder.Cmds() + "\\run_notes.lnk"));
    EXPECT_EQ(Texts{"memo"}, Column(0));

    // A command whose shortcut went missing: removed all the same, and said so.
    DeleteFileA((folder.Cmds() + "\\run_memo.lnk").c_str());
    select("memo");
    boxes.Clear();
    boxes.Answer(IDYES);
    Command(IDC_DELETE_COMMAND);
    EXPECT_EQ((Texts{"Do you want to delete the command: memo?", "Couldn\xB4t delete command!"}), boxes.Texts());
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[1].type);
    EXPECT_EQ(0, window->CommandsPage().List().GetItemCount());
}

TEST_F(MainWindowTest, ARowWhoseFileNamesNoValidCommandIsListedButNeverActedOn)
{
    // Items outside the Cmds folder that a crafted first line would reach.
    WriteFileBytes(folder.Path() + "\\name.lnk", "link");
    WriteFileBytes(folder.Path() + "\\name.cfg", "cfg");
    WriteCommandFile("evil", {"x\\..\\..\\name", "C:\\x.exe", "", "1"});
    Open();
    ASSERT_EQ(Texts{"x\\..\\..\\name"}, Column(0));
    window->CommandsPage().List().SelectItem(0);
    const std::string refusal = TXT_INVALID_NAME_BEFORE + folder.Cmds() + "\\run_evil.cfg" + TXT_INVALID_NAME_AFTER;
    for (int command : {IDC_DELETE_COMMAND, ID_COMMAND_EDIT, ID_COMMAND_SECURITY}) {
        boxes.Clear();
        boxes.Answer(IDYES); // would confirm a deletion, were one asked
        Command(command);
        ASSERT_EQ(Texts{refusal}, boxes.Texts()) << command;
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].type);
    }
    EXPECT_TRUE(modals.empty());
    EXPECT_TRUE(shell.empty());
    EXPECT_EQ("link", ReadFileBytes(folder.Path() + "\\name.lnk"));
    EXPECT_EQ("cfg", ReadFileBytes(folder.Path() + "\\name.cfg"));
    EXPECT_TRUE(FileExists(folder.Cmds() + "\\run_evil.cfg"));
}

TEST_F(MainWindowTest, SecurityOpensThePropertiesOfTheShortcutFile)
{
    WriteCommandFile("notes", {"notes", "C:\\edit.exe", "", "1"});
    Open();
    window->CommandsPage().List().SelectItem(0);
    Command(ID_COMMAND_SECURITY);
    ASSERT_EQ(1u, shell.size());
    EXPECT_TRUE(shell[0].extended);
    EXPECT_EQ(ULONG(SEE_MASK_INVOKEIDLIST), shell[0].mask);
    EXPECT_EQ(L"properties", shell[0].verb);
    EXPECT_EQ(AnsiToWide(folder.Cmds() + "\\run_notes.lnk"), shell[0].file);
    EXPECT_EQ(SW_SHOW, shell[0].show);
    EXPECT_EQ(L"", shell[0].parameters);
}

TEST_F(MainWindowTest, DoubleClicksGoToTheEditorsAndDoNothingInTheSystemList)
{
    Open();
    EXPECT_EQ(0, Notify(IDC_COMMAND_LIST, NM_DBLCLK));
    EXPECT_EQ(0, Notify(IDC_FOLDER_LIST, NM_DBLCLK));
    EXPECT_EQ(0, Notify(IDC_SYSTEM_LIST, NM_DBLCLK));
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace
