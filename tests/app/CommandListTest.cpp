#include "tests/app/MainWindowFixture.h"

#include "catalogue/CommandProperties.h"
#include "catalogue/Commands.h"
#include "catalogue/PropertiesCodec.h"
#include "framework/Utf16.h"
#include "resources/FileProblemsIds.h"
#include "resources/Texts.h"
#include "services/TargetIcon.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/DrawList.h"
#include "tests/support/IconPixels.h"

#include <shellapi.h>

namespace {

// The order a file-system search returns the properties files in.
Texts SearchOrder(const std::wstring& cmds)
{
    return FileNames(cmds + L"\\*.cfg");
}

TEST_F(MainWindowTest, ListsEveryCommandFileWithThreeLinesInSearchOrder)
{
    WriteCommandFile(L"zeta", {"zeta", "C:\\z.exe", "-q", "1"});
    WriteCommandFile(L"alpha", {"alpha", "http://example.com/", "", "3"});
    WriteCommandFile(L"empty3", {"empty3", "C:\\Data", ""});          // empty third line: listed
    WriteFileBytes(folder.Cmds() + L"\\run_two.cfg", "two\r\nC:\\two.exe\r\n"); // ends after line 2
    WriteFileBytes(folder.Cmds() + L"\\run_lf.cfg", "lf\nC:\\lf.txt\nx y"); // LF breaks, last line open
    CreateDirectoryW((folder.Cmds() + L"\\dir.cfg").c_str(), nullptr);      // a folder is no command
    WriteFileBytes(folder.Cmds() + L"\\notes.txt", "notes\r\nC:\\n.exe\r\n\r\n");

    Open();
    Texts expected;
    for (const std::wstring& file : SearchOrder(folder.Cmds())) {
        const std::wstring name = file.substr(4, file.size() - 8); // run_<name>.cfg
        if (name != L"two")
            expected.push_back(name);
    }
    EXPECT_EQ(4u, expected.size());
    EXPECT_EQ(expected, Column(0));
    for (size_t i = 0; i < expected.size(); ++i) {
        const int row = static_cast<int>(i);
        const std::wstring& name = expected[i];
        const std::wstring target = window->CommandsPage().List().GetItemText(row, 1);
        const std::wstring parameters = window->CommandsPage().List().GetItemText(row, 2);
        if (name == L"zeta") {
            EXPECT_EQ(L"C:\\z.exe", target);
            EXPECT_EQ(L"-q", parameters);
        } else if (name == L"empty3") {
            EXPECT_EQ(L"C:\\Data", target);
            EXPECT_EQ(L"", parameters);
        } else if (name == L"lf") {
            EXPECT_EQ(L"C:\\lf.txt", target);
            EXPECT_EQ(L"x y", parameters);
        }
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A command the code page cannot hold is stored as UTF-8 after a byte-order mark.
TEST_F(MainWindowTest, ACommandOutsideTheCodePageIsListedWhole)
{
    const std::wstring name = L"\u7B14\u8BB0";
    const std::wstring target = L"C:\\\u0414\u043E\u043A\\\U0001F4DD.txt";
    WriteFileBytes(CommandPropertiesFile(folder.Cmds(), name),
                   kUtf8ByteOrderMark + PropertiesBytes({*WideToUtf8(name), *WideToUtf8(target), "", "1"}));
    Open();
    EXPECT_EQ(Texts{name}, Column(0));
    EXPECT_EQ(target, window->CommandsPage().List().GetItemText(0, 1));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MainWindowTest, AFileThatCannotBeOpenedIsReportedAndTheOthersAreStillListed)
{
    for (const char* name : {"a", "b", "c", "d"})
        WriteCommandFile(AsciiToWide(name), {name, "C:\\x.exe", "", "1"});
    const Texts order = SearchOrder(folder.Cmds());
    // Lock the second file the search returns.
    const std::wstring locked = folder.Cmds() + L"\\" + order[1];
    HANDLE hold = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);

    Open();
    EXPECT_EQ(3, window->CommandsPage().List().GetItemCount());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"A sharing violation occurred while accessing " + locked + L".", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_ICONSTOP), boxes.Boxes()[0].type & MB_ICONMASK);
    // The rest of start-up went on: the status bar exists.
    EXPECT_EQ(L"My Commands", Pane(0));
    CloseHandle(hold);

    window->CommandsPage().FillCommandList();
    EXPECT_EQ(4, window->CommandsPage().List().GetItemCount());
}

TEST_F(MainWindowTest, AFileWithALineNoCommandHoldsIsReportedAndTheOthersAreStillListed)
{
    WriteCommandFile(L"a", {"a", "C:\\x.exe", "", "1"});
    WriteCommandFile(L"huge", {"huge", "C:\\x.exe", std::string(kMaxPropertiesLine + 1, 'p'), "1"});
    Open();
    EXPECT_EQ(Texts{L"a"}, Column(0));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(folder.Cmds() + L"\\run_huge.cfg could not be read: a line is longer than any command holds.",
              boxes.Boxes()[0].text);
}

TEST_F(MainWindowTest, SeveralUnreadableFilesAreListedInOneMessage)
{
    WriteCommandFile(L"a", {"a", "C:\\x.exe", "", "1"});
    for (const char* name : {"h1", "h2", "h3"})
        WriteCommandFile(AsciiToWide(name), {name, "C:\\x.exe", std::string(kMaxPropertiesLine + 1, 'p'), "1"});
    std::wstring list;
    Services().modalDialog = [&](CDialog& dialog) {
        modals.push_back(dialog.GetTemplateId());
        list = Field(dialog, IDC_FP_LIST, 4096);
    };
    Open();
    EXPECT_EQ(Texts{L"a"}, Column(0));
    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_EQ(std::vector<UINT>{IDD_FILE_PROBLEMS}, modals);
    for (const wchar_t* name : {L"h1", L"h2", L"h3"})
        EXPECT_NE(std::wstring::npos, list.find(folder.Cmds() + L"\\run_" + name + L".cfg could not be read")) << list;
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
    wchar_t folderName[MAX_PATH] = {};
    GetWindowsDirectoryW(folderName, MAX_PATH);
    const std::string windows = *WideToUtf8(folderName); // ASCII: the same bytes in the code page
    WriteCommandFile(L"ed", {"ed", windows + "\\notepad.exe", "", "1"});
    WriteCommandFile(L"ed2", {"ed2", windows + "\\notepad.exe", "", "1"});
    WriteCommandFile(L"win", {"win", windows, "", "1"});
    WriteCommandFile(L"gone", {"gone", "C:\\no\\such.unknownext", "", "1"});
    Open();
    const CImageList& images = window->CommandsPage().Images();
    const CListCtrl& list = window->CommandsPage().List();
    auto imageOf = [&](const std::wstring& name) {
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (list.GetItemText(row, 0) == name)
                return list.GetItemImage(row);
        return -2;
    };
    // Every row asks for its icon, as drawing the whole list would.
    auto drawAll = [&] {
        for (int row = 0; row < list.GetItemCount(); ++row)
            list.GetItemImage(row);
    };
    drawAll();
    const int first = images.GetImageCount();
    EXPECT_EQ(3, first); // notepad shared by two rows, the folder, SHELL32's icon 0
    for (int i = 0; i < 5; ++i) {
        window->CommandsPage().FillCommandList();
        drawAll();
    }
    EXPECT_EQ(first, images.GetImageCount());

    EXPECT_EQ(imageOf(L"ed"), imageOf(L"ed2"));
    EXPECT_NE(imageOf(L"ed"), imageOf(L"win"));
    EXPECT_NE(imageOf(L"win"), imageOf(L"gone"));
    for (const wchar_t* name : {L"ed", L"win", L"gone"}) {
        EXPECT_GE(imageOf(name), 0) << name;
        EXPECT_LT(imageOf(name), images.GetImageCount()) << name;
    }
}

// Icons are taken when rows are drawn; a fill extracts none, and a row
// the list paints shows the icon the rule picks for its target.
TEST_F(MainWindowTest, RowsGetTheirIconsWhenTheListDrawsThem)
{
    wchar_t folderName[MAX_PATH] = {};
    GetWindowsDirectoryW(folderName, MAX_PATH);
    const std::string windows = *WideToUtf8(folderName);
    WriteCommandFile(L"ed", {"ed", windows + "\\notepad.exe", "", "1"});
    WriteCommandFile(L"win", {"win", windows, "", "1"});
    Open();
    const CImageList& images = window->CommandsPage().Images();
    const CListCtrl& list = window->CommandsPage().List();
    EXPECT_EQ(0, images.GetImageCount());

    DrawList(list.GetSafeHwnd());
    ASSERT_EQ(2, images.GetImageCount());
    for (int row = 0; row < 2; ++row) {
        const int image = list.GetItemImage(row);
        ASSERT_GE(image, 0);
        CIconHandle rule(GetTargetIcon(list.GetItemText(row, 1), false));
        EXPECT_EQ(IconPixels(rule.Get()), ImagePixels(images, image)) << row;
    }
    window->CommandsPage().FillCommandList();
    EXPECT_EQ(0, images.GetImageCount()); // the next paint asks again
}

TEST_F(MainWindowTest, FastFolderRowsShowTheFolderIconAndStartEachRefreshAfresh)
{
    Open();
    window->FoldersPage().AddFastFolderRow(L"Docs", L"C:\\Docs");
    window->FoldersPage().AddFastFolderRow(L"Temp", L"C:\\Temp");
    EXPECT_EQ(2, window->FoldersPage().List().GetItemCount());
    EXPECT_EQ(L"Temp", window->FoldersPage().List().GetItemText(1, 0));
    EXPECT_EQ(L"C:\\Temp", window->FoldersPage().List().GetItemText(1, 1));
    EXPECT_EQ(1, window->FoldersPage().List().GetItemImage(1));
    window->FoldersPage().List().DeleteAllItems(); // as a refresh does
    window->FoldersPage().AddFastFolderRow(L"Docs", L"C:\\Docs");
    EXPECT_EQ(1, window->FoldersPage().Images().GetImageCount());
}

TEST_F(MainWindowTest, DeleteAsksAndOnYesRemovesTheCommandAndRebuildsTheList)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\edit.exe", L"", 1));
    ASSERT_TRUE(CreateCommand(L"memo", L"C:\\memo.exe", L"", 1));
    Open();
    ASSERT_EQ(2, window->CommandsPage().List().GetItemCount());

    // No selection: nothing asked, nothing done.
    Command(IDC_DELETE_COMMAND);
    Command(ID_COMMAND_DELETE);
    Command(ID_COMMAND_SECURITY);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(shell.empty());

    auto select = [&](const std::wstring& name) {
        for (int row = 0; row < window->CommandsPage().List().GetItemCount(); ++row)
            if (window->CommandsPage().List().GetItemText(row, 0) == name)
                window->CommandsPage().List().SelectItem(row);
    };
    select(L"notes");
    boxes.Answer(IDNO);
    Command(IDC_DELETE_COMMAND);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"Do you want to delete the command: notes?", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type);
    EXPECT_TRUE(FileExists(folder.Cmds() + L"\\run_notes.cfg"));
    EXPECT_EQ(2, window->CommandsPage().List().GetItemCount());

    boxes.Clear();
    boxes.Answer(IDYES);
    Command(ID_COMMAND_DELETE);
    EXPECT_EQ(Texts{L"Do you want to delete the command: notes?"}, boxes.Texts());
    EXPECT_FALSE(FileExists(folder.Cmds() + L"\\run_notes.cfg"));
    EXPECT_FALSE(FileExists(folder.Cmds() + L"\\run_notes.lnk"));
    EXPECT_EQ(Texts{L"memo"}, Column(0));

    // A command whose shortcut went missing: removed all the same, and said so.
    DeleteFileW((folder.Cmds() + L"\\run_memo.lnk").c_str());
    select(L"memo");
    boxes.Clear();
    boxes.Answer(IDYES);
    Command(IDC_DELETE_COMMAND);
    EXPECT_EQ((Texts{L"Do you want to delete the command: memo?", L"Couldn\xB4t delete command!"}), boxes.Texts());
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[1].type);
    EXPECT_EQ(0, window->CommandsPage().List().GetItemCount());
}

TEST_F(MainWindowTest, ARowWhoseFileNamesNoValidCommandIsListedButNeverActedOn)
{
    // Items outside the Cmds folder that a crafted first line would reach.
    WriteFileBytes(folder.Path() + L"\\name.lnk", "link");
    WriteFileBytes(folder.Path() + L"\\name.cfg", "cfg");
    WriteCommandFile(L"evil", {"x\\..\\..\\name", "C:\\x.exe", "", "1"});
    Open();
    ASSERT_EQ(Texts{L"x\\..\\..\\name"}, Column(0));
    window->CommandsPage().List().SelectItem(0);
    const std::wstring refusal = TXT_INVALID_NAME_BEFORE + folder.Cmds() + L"\\run_evil.cfg" + TXT_INVALID_NAME_AFTER;
    for (int command : {IDC_DELETE_COMMAND, ID_COMMAND_EDIT, ID_COMMAND_SECURITY}) {
        boxes.Clear();
        boxes.Answer(IDYES); // would confirm a deletion, were one asked
        Command(command);
        ASSERT_EQ(Texts{refusal}, boxes.Texts()) << command;
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].type);
    }
    EXPECT_TRUE(modals.empty());
    EXPECT_TRUE(shell.empty());
    EXPECT_EQ("link", ReadFileBytes(folder.Path() + L"\\name.lnk"));
    EXPECT_EQ("cfg", ReadFileBytes(folder.Path() + L"\\name.cfg"));
    EXPECT_TRUE(FileExists(folder.Cmds() + L"\\run_evil.cfg"));
}

TEST_F(MainWindowTest, SecurityOpensThePropertiesOfTheShortcutFile)
{
    WriteCommandFile(L"notes", {"notes", "C:\\edit.exe", "", "1"});
    Open();
    window->CommandsPage().List().SelectItem(0);
    Command(ID_COMMAND_SECURITY);
    ASSERT_EQ(1u, shell.size());
    EXPECT_TRUE(shell[0].extended);
    EXPECT_EQ(ULONG(SEE_MASK_INVOKEIDLIST), shell[0].mask);
    EXPECT_EQ(L"properties", shell[0].verb);
    EXPECT_EQ(folder.Cmds() + L"\\run_notes.lnk", shell[0].file);
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
