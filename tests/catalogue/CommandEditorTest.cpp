// The New/Edit Command dialog driven through the main window, in process
// under Wine and Xvfb, against a scratch registry and program folder.
#include "framework/CodePage.h"
#include "tests/app/MainWindowFixture.h"

#include "catalogue/CommandLimits.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "catalogue/FolderBrowser.h"
#include "catalogue/NewCommandDlg.h"
#include "catalogue/PropertiesCodec.h"
#include "catalogue/ReplacedEntry.h"
#include "framework/FileDialog.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "framework/Sha256.h"
#include "framework/Utf16.h"
#include "regbackup/BackupRules.h"
#include "regbackup/RegFileFormat.h"
#include "resources/NewCommandIds.h"
#include "resources/Texts.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LinkReader.h"

#include <htmlhelp.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Refuses to create the App Paths entry of one name, as a user without
// administrator rights would be refused (inside a services guard).
void DenyEntry(const std::wstring& name)
{
    const std::wstring key = AppPathsKeyName(name);
    Services().registryAccess = [key](HKEY, const std::wstring& subkey, REGSAM) { return subkey != key; };
}

class CommandEditorTest : public MainWindowTest {
protected:
    // Runs the editor that `open` opens, shown as the modal loop would show
    // it, and drives it; returns how many dialogs opened.
    int Drive(const std::function<void()>& open, const std::function<void(CNewCommandDlg&)>& drive)
    {
        int opened = 0;
        CServicesGuard guard;
        Services().modalDialog = [&](CDialog& dialog) {
            ++opened;
            auto& editor = static_cast<CNewCommandDlg&>(dialog);
            // The show notification the modal loop's first showing sends; a
            // real mapping costs seconds under Xvfb.
            SendMessageW(editor.GetSafeHwnd(), WM_SHOWWINDOW, TRUE, 0);
            drive(editor);
        };
        open();
        return opened;
    }
    int Run(int command, const std::function<void(CNewCommandDlg&)>& drive)
    {
        return Drive([&] { Command(command); }, drive);
    }
    int RunEdit(const std::wstring& name, const std::function<void(CNewCommandDlg&)>& drive)
    {
        if (const int row = RowWithText(window->CommandsPage().List(), 0, name); row >= 0)
            window->CommandsPage().List().SelectItem(row);
        return Run(ID_COMMAND_EDIT, drive);
    }

    std::wstring Cfg(const std::wstring& name) const { return CommandPropertiesFile(folder.Cmds(), name); }
    std::wstring Link(const std::wstring& name) const { return CommandLinkFile(folder.Cmds(), name); }
    bool EntryExists(const std::wstring& name) const { return KeyExists(HKEY_LOCAL_MACHINE, AppPathsKeyName(name)); }
    bool CommandExists(const std::wstring& name) const
    {
        return EntryExists(name) && FileExists(Link(name)) && FileExists(Cfg(name));
    }
    bool CommandGone(const std::wstring& name) const
    {
        return !EntryExists(name) && !FileExists(Link(name)) && !FileExists(Cfg(name));
    }
    static int Mode(const CNewCommandDlg& editor)
    {
        return static_cast<int>(SendMessageW(editor.GetDlgItem(IDC_NC_MODE), CB_GETCURSEL, 0, 0));
    }
    static void SetMode(const CNewCommandDlg& editor, int index)
    {
        SendMessageW(editor.GetDlgItem(IDC_NC_MODE), CB_SETCURSEL, index, 0);
    }
    static void Focus(const CNewCommandDlg& editor, int id, UINT code)
    {
        SendMessageW(editor.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(editor.GetDlgItem(id)));
    }
};

} // namespace

TEST_F(CommandEditorTest, NewChecksNameThenCharactersThenTargetAndKeepsTheInput)
{
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        EXPECT_FALSE(editor.IsEditMode());
        EXPECT_EQ(TXT_NC_CAPTION_NEW, Caption(editor));
        EXPECT_EQ(0, Mode(editor)); // "Normal"
        Press(editor, IDOK);        // empty name and empty target: the name first
        SetField(editor, IDC_NC_NAME, L"my tool");
        SetField(editor, IDC_NC_TARGET, L"C:\\Tools");
        Press(editor, IDOK);
        SetField(editor, IDC_NC_NAME, L"My(Tool)");
        SetField(editor, IDC_NC_TARGET, L"");
        Press(editor, IDOK);
        SetField(editor, IDC_NC_NAME, L"caf\xE9");
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
        EXPECT_EQ(L"caf\xE9", Field(editor, IDC_NC_NAME));
    });
    EXPECT_EQ((Texts{TXT_ENTER_COMMAND_NAME, TXT_ILLEGAL_COMMAND_NAME, TXT_ENTER_COMMAND_PATH,
                     TXT_ILLEGAL_COMMAND_NAME}),
              boxes.Texts());
    for (const auto& box : boxes.Boxes())
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), box.type) << box.text;
    for (const wchar_t* name : {L"", L"my tool", L"my(tool)", L"caf\xE9"})
        EXPECT_TRUE(CommandGone(name)) << name;
    EXPECT_EQ(0, window->CommandsPage().List().GetItemCount());
}

TEST_F(CommandEditorTest, NewStoresTheNameLowerCasedAndTheTargetTrimmed)
{
    Open();
    Run(ID_FILE_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"My(Tool)");
        SetField(editor, IDC_NC_TARGET, L"C:\\Data\\\\\\");
        SetField(editor, IDC_NC_PARAMETERS, L"-x \"a b\" \xE9\xFC");
        SetMode(editor, 1);
        Press(editor, IDOK);
        EXPECT_TRUE(editor.IsEnded());
        EXPECT_EQ(IDOK, editor.GetResult());
    });
    EXPECT_TRUE(boxes.Texts().empty()); // no success message outside path mode
    EXPECT_EQ(PropertiesBytes({"my(tool)", "C:\\Data", "-x \"a b\" \xE9\xFC", "7"}), ReadFileBytes(Cfg(L"my(tool)")));
    EXPECT_TRUE(CommandExists(L"my(tool)"));
    EXPECT_EQ(Texts{L"my(tool)"}, Column(0));

    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"root");
        SetField(editor, IDC_NC_TARGET, L"C:\\");
        SetMode(editor, 2);
        Press(editor, IDOK);
    });
    EXPECT_EQ(PropertiesBytes({"root", "C:\\", "", "3"}), ReadFileBytes(Cfg(L"root")));

    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"none");
        SetField(editor, IDC_NC_TARGET, L"C:\\Tools\\run.exe");
        SetMode(editor, -1); // no selection
        Press(editor, IDOK);
    });
    EXPECT_EQ(PropertiesBytes({"none", "C:\\Tools\\run.exe", "", "0"}), ReadFileBytes(Cfg(L"none")));
    EXPECT_EQ(3, window->CommandsPage().List().GetItemCount());
}

TEST_F(CommandEditorTest, WhatACommandCannotHoldIsRefusedBeforeAnythingIsWritten)
{
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"long");
        SetField(editor, IDC_NC_TARGET, L"C:\\" + std::wstring(257, 'a'));
        Press(editor, IDOK);
        SetField(editor, IDC_NC_TARGET, L"C:\\" + std::wstring(2000, 'b'));
        Press(editor, IDOK);
        EXPECT_EQ(2003u, Field(editor, IDC_NC_TARGET, 4096).size()); // kept as typed
        SetField(editor, IDC_NC_TARGET, L"C:\\Tools\\run.exe");
        SetField(editor, IDC_NC_PARAMETERS, L"-a\r\n-b");
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
        EXPECT_EQ(L"-a\r\n-b", Field(editor, IDC_NC_PARAMETERS));
        // Typing stops where import and the properties reader stop.
        EXPECT_EQ(LRESULT(kMaxCommandParameters), SendMessageW(editor.GetDlgItem(IDC_NC_PARAMETERS), EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(LRESULT(kMaxCommandName), SendMessageW(editor.GetDlgItem(IDC_NC_NAME), EM_GETLIMITTEXT, 0, 0));
        SetField(editor, IDC_NC_PARAMETERS, std::wstring(kMaxCommandParameters + 1, 'p'));
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
    });
    EXPECT_EQ((Texts{TXT_NC_TARGET_TOO_LONG, TXT_NC_TARGET_TOO_LONG, TXT_NC_LINE_BREAK, TXT_NC_PARAMETERS_TOO_LONG}),
              boxes.Texts());
    EXPECT_TRUE(CommandGone(L"long"));
}

TEST_F(CommandEditorTest, AFailedCreationClosesTheDialogAndTheListIsStillRebuilt)
{
    Open();
    WriteCommandFile(L"other", {"other", "C:\\other.exe", "", "1"}); // not listed yet
    DenyEntry(L"pad");
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"pad");
        SetField(editor, IDC_NC_TARGET, L"C:\\windows\\notepad.exe");
        Press(editor, IDOK);
        EXPECT_TRUE(editor.IsEnded());
        EXPECT_EQ(IDOK, editor.GetResult());
    });
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(CommandGone(L"pad"));
    EXPECT_EQ(Texts{L"other"}, Column(0));
}

TEST_F(CommandEditorTest, TextOutsideTheCodePageIsStoredAsUtf8AndEditedBackUnchanged)
{
    // Cyrillic, Polish, Chinese and an emoji (a surrogate pair), which no
    // ANSI code page holds: made from the verb's path, then edited.
    const std::wstring tools = folder.Path() + L"\\\x041F\x0440\x043E\x0433";
    const std::wstring target = tools + L"\\\x0142\x6587.exe";
    ASSERT_TRUE(CreateDirectoryW(tools.c_str(), nullptr));
    WriteFileBytes(target, "MZ");
    const std::wstring parameters = L"-m \xD83D\xDE00";
    Drive([&] { Open(target); }, [&](CNewCommandDlg& editor) {
        EXPECT_EQ(target, Field(editor, IDC_NC_TARGET));
        SetField(editor, IDC_NC_NAME, L"world");
        SetField(editor, IDC_NC_PARAMETERS, parameters);
        Press(editor, IDOK);
    });
    EXPECT_EQ(Texts{TXT_PATH_MODE_SUCCESS}, boxes.Texts());
    const std::vector<std::string> lines = {"world", WideToUtf8(target).value(), WideToUtf8(parameters).value(), "1"};
    EXPECT_EQ(kUtf8ByteOrderMark + PropertiesBytes(lines), ReadFileBytes(Cfg(L"world")));
    EXPECT_EQ(Link(L"world"), ReadStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"world")));
    LinkFields link;
    ASSERT_TRUE(ReadLink(Link(L"world"), link));
    EXPECT_EQ(target, link.itemPath);
    EXPECT_EQ(parameters, link.arguments);

    Open();
    EXPECT_EQ((Texts{target}), Column(1));
    const std::wstring polish = L"za\x017C\x00F3\x0142\x0107";
    RunEdit(L"world", [&](CNewCommandDlg& editor) {
        EXPECT_EQ(target, Field(editor, IDC_NC_TARGET));
        EXPECT_EQ(parameters, Field(editor, IDC_NC_PARAMETERS));
        SetField(editor, IDC_NC_PARAMETERS, polish);
        Press(editor, IDOK);
    });
    ASSERT_TRUE(ReadLink(Link(L"world"), link));
    EXPECT_EQ(polish, link.arguments);
    EXPECT_EQ(0u, ReadFileBytes(Cfg(L"world")).find(kUtf8ByteOrderMark)); // the target still needs it
}

TEST_F(CommandEditorTest, CancelWritesNothing)
{
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"pad");
        SetField(editor, IDC_NC_TARGET, L"C:\\windows\\notepad.exe");
        Press(editor, IDCANCEL);
        EXPECT_EQ(IDCANCEL, editor.GetResult());
    });
    EXPECT_TRUE(CommandGone(L"pad"));
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(CommandEditorTest, EditShowsTheStoredFieldsAndRewritesTheSameName)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\Tools\\edit.exe", L"-a", 7));
    Open();
    window->CommandsPage().List().SelectItem(0);
    const auto doubleClick = [&] { EXPECT_EQ(0, Notify(IDC_COMMAND_LIST, NM_DBLCLK)); };
    const int opened = Drive(doubleClick, [&](CNewCommandDlg& editor) {
        EXPECT_TRUE(editor.IsEditMode());
        EXPECT_EQ(TXT_NC_CAPTION_EDIT, Caption(editor));
        EXPECT_EQ(L"notes", Field(editor, IDC_NC_NAME));
        EXPECT_EQ(L"C:\\Tools\\edit.exe", Field(editor, IDC_NC_TARGET));
        EXPECT_EQ(L"-a", Field(editor, IDC_NC_PARAMETERS));
        EXPECT_EQ(1, Mode(editor)); // "7" is Minimized
        // Shown again: the combo box is refilled, not added to.
        SendMessageW(editor.GetSafeHwnd(), WM_SHOWWINDOW, FALSE, 0);
        SendMessageW(editor.GetSafeHwnd(), WM_SHOWWINDOW, TRUE, 0);
        EXPECT_EQ(3, SendMessageW(editor.GetDlgItem(IDC_NC_MODE), CB_GETCOUNT, 0, 0));
        SetField(editor, IDC_NC_PARAMETERS, L"-b");
        Press(editor, IDOK);
    });
    EXPECT_EQ(1, opened);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(PropertiesBytes({"notes", "C:\\Tools\\edit.exe", "-b", "7"}), ReadFileBytes(Cfg(L"notes")));
    EXPECT_TRUE(CommandExists(L"notes"));
    EXPECT_EQ(Texts{L"-b"}, Column(2));
}

TEST_F(CommandEditorTest, EditWithoutASelectionOpensNothing)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\Tools\\edit.exe", L"", 1));
    Open();
    EXPECT_EQ(0, Run(ID_COMMAND_EDIT, [](CNewCommandDlg&) {}));
}

TEST_F(CommandEditorTest, RenamingKeepsTheOldCommandUntilTheNewOneExists)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\Tools\\edit.exe", L"-a", 1));
    Open();
    RunEdit(L"notes", [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"Memo");
        Press(editor, IDOK);
    });
    EXPECT_TRUE(CommandGone(L"notes"));
    EXPECT_TRUE(CommandExists(L"memo"));
    EXPECT_EQ(Texts{L"memo"}, Column(0));

    // The new name cannot be created: the old command stays whole.
    {
        CServicesGuard deny;
        DenyEntry(L"pad");
        RunEdit(L"memo", [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_NAME, L"pad");
            Press(editor, IDOK);
            EXPECT_TRUE(editor.IsEnded());
        });
    }
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(CommandGone(L"pad"));
    EXPECT_TRUE(CommandExists(L"memo"));
    EXPECT_EQ(PropertiesBytes({"memo", "C:\\Tools\\edit.exe", "-a", "1"}), ReadFileBytes(Cfg(L"memo")));

    // Nor is anything lost when the same name cannot be rewritten.
    boxes.Clear();
    {
        CServicesGuard deny;
        DenyEntry(L"memo");
        RunEdit(L"memo", [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_PARAMETERS, L"-changed");
            Press(editor, IDOK);
        });
    }
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(CommandExists(L"memo"));
    EXPECT_EQ(PropertiesBytes({"memo", "C:\\Tools\\edit.exe", "-a", "1"}), ReadFileBytes(Cfg(L"memo")));
    EXPECT_EQ(Texts{L"memo"}, Column(0));
}

TEST_F(CommandEditorTest, EditOfAMissingPropertiesFileReportsItAndOkReplacesTheRest)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\Tools\\edit.exe", L"", 1));
    Open();
    DeleteFileW(Cfg(L"notes").c_str()); // gone behind the window's back
    RunEdit(L"notes", [&](CNewCommandDlg& editor) {
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(Cfg(L"notes") + L" was not found.", boxes.Boxes()[0].text);
        EXPECT_EQ(UINT(MB_ICONERROR), boxes.Boxes()[0].type & MB_ICONMASK);
        EXPECT_TRUE(editor.IsEditMode());
        EXPECT_EQ(TXT_NC_CAPTION_NEW, Caption(editor));
        EXPECT_EQ(L"", Field(editor, IDC_NC_NAME));
        EXPECT_EQ(L"", Field(editor, IDC_NC_TARGET));
        SetField(editor, IDC_NC_NAME, L"notes");
        SetField(editor, IDC_NC_TARGET, L"C:\\Tools\\new.exe");
        Press(editor, IDOK);
    });
    EXPECT_EQ(1u, boxes.Boxes().size());
    EXPECT_TRUE(CommandExists(L"notes"));
    EXPECT_EQ(PropertiesBytes({"notes", "C:\\Tools\\new.exe", "", "1"}), ReadFileBytes(Cfg(L"notes")));
}

TEST_F(CommandEditorTest, BrowseFillsTheTargetFromFileFolderAndUrl)
{
    Open();
    const std::wstring tools = folder.Path() + L"\\Tools";
    CreateDirectoryW(tools.c_str(), nullptr);

    std::vector<OPENFILENAMEW> requests;
    std::wstring filter;
    bool confirm = true;
    Services().openFileName = [&](OPENFILENAMEW& request) -> BOOL {
        requests.push_back(request);
        const wchar_t* end = request.lpstrFilter;
        while (end[0] || end[1])
            ++end;
        filter.assign(request.lpstrFilter, end + 2);
        if (!confirm)
            return FALSE;
        lstrcpynW(request.lpstrFile, L"C:\\Tools\\chosen.exe", request.nMaxFile);
        return TRUE;
    };
    int call = 0;
    std::vector<std::wstring> titles;
    Services().browseForFolder = [&](BROWSEINFOW& info) -> PIDLIST_ABSOLUTE {
        titles.push_back(info.lpszTitle);
        EXPECT_EQ(UINT(BIF_NEWDIALOGSTYLE), info.ulFlags);
        EXPECT_EQ(nullptr, info.pidlRoot);
        ++call;
        if (call == 1)
            return nullptr; // cancelled
        if (call == 2) {
            PIDLIST_ABSOLUTE drives = nullptr; // My Computer: no file-system path
            SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives);
            return drives;
        }
        return ILCreateFromPathW(tools.c_str());
    };

    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_TARGET, L"typed");
        Press(editor, ID_BROWSE_URL);
        EXPECT_EQ(TXT_NC_URL_START, Field(editor, IDC_NC_TARGET));

        Press(editor, ID_BROWSE_FILE);
        EXPECT_EQ(L"C:\\Tools\\chosen.exe", Field(editor, IDC_NC_TARGET));
        confirm = false;
        SetField(editor, IDC_NC_TARGET, L"typed");
        Press(editor, ID_BROWSE_FILE);
        EXPECT_EQ(L"typed", Field(editor, IDC_NC_TARGET));

        Press(editor, ID_BROWSE_FOLDER); // cancelled
        EXPECT_EQ(L"typed", Field(editor, IDC_NC_TARGET));
        Press(editor, ID_BROWSE_FOLDER); // a virtual folder, then a real one
        EXPECT_EQ(tools, Field(editor, IDC_NC_TARGET));
    });

    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(std::wstring(L"All Files(*.*)\0*.*\0Exe Files(*.exe)\0*.exe\0", 42), filter.substr(0, 42));
    EXPECT_STREQ(TXT_NC_CHOOSE_FILE, requests[0].lpstrTitle);
    EXPECT_STREQ(L"*.*", requests[0].lpstrDefExt);
    EXPECT_EQ(1u, requests[0].nFilterIndex);
    EXPECT_TRUE(requests[0].Flags & OFN_EXPLORER);
    EXPECT_GE(requests[0].nMaxFile, DWORD(MAX_PATH));
    EXPECT_EQ(3, call);
    for (const auto& title : titles)
        EXPECT_EQ(TXT_NC_FOLDER_TITLE, title);
    EXPECT_EQ(Texts{TXT_SELECT_VALID_FOLDER}, boxes.Texts());
}

TEST_F(CommandEditorTest, FieldAndMenuTipsGoToPaneThreeAndHelpOpensOnIconAndF1)
{
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        const std::pair<int, const wchar_t*> fields[] = {{IDC_NC_NAME, TXT_NC_TIP_NAME},
                                                      {IDC_NC_TARGET, TXT_NC_TIP_TARGET},
                                                      {IDC_NC_PARAMETERS, TXT_NC_TIP_PARAMETERS}};
        for (const auto& [id, tip] : fields) {
            Focus(editor, id, EN_SETFOCUS);
            EXPECT_EQ(tip, Pane(3));
        }
        Focus(editor, IDC_NC_MODE, CBN_SETFOCUS);
        EXPECT_EQ(TXT_NC_TIP_MODE, Pane(3));

        HWND dlg = editor.GetSafeHwnd();
        SendMessageW(dlg, WM_MENUSELECT, MAKEWPARAM(ID_BROWSE_FOLDER, MF_HILITE), 0);
        EXPECT_EQ(TXT_NC_TIP_FOLDER, Pane(3));
        SendMessageW(dlg, WM_MENUSELECT, MAKEWPARAM(ID_BROWSE_URL, MF_HILITE), 0);
        EXPECT_EQ(TXT_NC_TIP_URL, Pane(3));
        SendMessageW(dlg, WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0); // menu closed
        EXPECT_EQ(L"", Pane(3));

        Focus(editor, IDC_NC_HELP, STN_CLICKED);
        ASSERT_EQ(1u, help.size());
        EXPECT_EQ(folder.Path() + L"\\quillon.chm::/Creating_A_Command.htm", help[0].path);
        EXPECT_EQ(UINT(HH_DISPLAY_TOPIC), help[0].command);

        MSG f1{editor.GetDlgItem(IDC_NC_NAME), kWmKeyF1, 0, 0, 0, {}};
        EXPECT_TRUE(editor.PreTranslateMessage(&f1)); // consumed, as in every window
        EXPECT_EQ(2u, help.size());
        {
            CShiftHeld shift;
            editor.PreTranslateMessage(&f1);
        }
        EXPECT_EQ(2u, help.size());
    });
}

TEST(CommandEditorRules, ChecksTrimmingAndFilters)
{
    using namespace std::string_literals;
    EXPECT_EQ(UINT(IDS_ENTER_COMMAND_NAME), FirstInputProblem(L""s, L""s));
    EXPECT_EQ(UINT(IDS_ILLEGAL_COMMAND_NAME), FirstInputProblem(L"a.b"s, L""s));
    EXPECT_EQ(UINT(IDS_ENTER_COMMAND_PATH), FirstInputProblem(L"ab"s, L""s));
    // Only backslashes: trimming would leave an empty target to store.
    EXPECT_EQ(UINT(IDS_ENTER_COMMAND_PATH), FirstInputProblem(L"ab"s, L"\\\\"s));
    EXPECT_EQ(0u, FirstInputProblem(L"ab"s, L"x"s));
    EXPECT_EQ(0u, FirstInputProblem(L"ab"s, L"C:\\"s));
    // Lengths count UTF-16 units, as Windows counts a path.
    EXPECT_EQ(UnstorableInput::none, FindUnstorableInput(std::wstring(259, L'a'), L""s));
    EXPECT_EQ(UnstorableInput::targetTooLong, FindUnstorableInput(std::wstring(260, L'a'), L""s));
    EXPECT_EQ(UnstorableInput::none, FindUnstorableInput(std::wstring(257, L'a') + L"\xD83D\xDE00", L""s));
    EXPECT_EQ(UnstorableInput::lineBreak, FindUnstorableInput(L"C:\\a\nb"s, L""s));
    EXPECT_EQ(UnstorableInput::lineBreak, FindUnstorableInput(L"C:\\a"s, L"\r"s));
    // Half a surrogate pair, at the end or before another character.
    EXPECT_EQ(UnstorableInput::brokenText, FindUnstorableInput(L"C:\\a\xD83D"s, L""s));
    EXPECT_EQ(UnstorableInput::brokenText, FindUnstorableInput(L"C:\\a"s, L"\xDE00x"s));
    EXPECT_EQ(UnstorableInput::brokenText, FindUnstorableInput(L"C:\\a"s, L"\xD83Dx"s));
    EXPECT_EQ(UnstorableInput::none, FindUnstorableInput(L"C:\\a"s, L"\xD83D\xDE00"s));
    EXPECT_EQ(std::wstring(L"a\0b\0\0", 5), FilterFromResource(L"a|b||"));
    EXPECT_STREQ(TXT_NC_TIP_FILE, BrowseMenuTip(ID_BROWSE_FILE));
    EXPECT_STREQ(L"", BrowseMenuTip(IDR_BROWSE_MENU));
}

// ---- path mode: the program started with a path, as the verb starts it ----

TEST_F(CommandEditorTest, PathModeOpensOnlyTheEditorWithTheLongFormAndReportsSuccess)
{
    const std::wstring file = folder.Path() + L"\\A rather long file name.txt";
    WriteFileBytes(file, "x");
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(file.c_str(), shortPath, MAX_PATH));
    wchar_t longPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetLongPathNameW(file.c_str(), longPath, MAX_PATH));
    ASSERT_STRNE(longPath, shortPath); // the 8.3 form really is another text

    const int opened = Drive([&] { Open(shortPath); }, [&](CNewCommandDlg& editor) {
        EXPECT_TRUE(editor.IsPathMode());
        EXPECT_EQ(TXT_NC_CAPTION_NEW, Caption(editor));
        EXPECT_EQ(std::wstring(longPath), Field(editor, IDC_NC_TARGET));
        SetField(editor, IDC_NC_NAME, L"Note");
        Press(editor, IDOK);
    });
    EXPECT_EQ(1, opened);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(TXT_PATH_MODE_SUCCESS, boxes.Boxes()[0].text);
    EXPECT_EQ(TXT_OWN_CAPTION, boxes.Boxes()[0].caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].type);
    EXPECT_TRUE(CommandExists(L"note"));
    // The main window ends without ever being shown or filled.
    EXPECT_TRUE(window->IsEnded());
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
    EXPECT_EQ(0, window->CommandsPage().List().GetItemCount());
}

TEST_F(CommandEditorTest, PathModeFailureShowsOnlyTheFailureAndCancelWritesNothing)
{
    {
        CServicesGuard deny;
        DenyEntry(L"pad");
        Drive([&] { Open(L"C:\\windows\\notepad.exe"); }, [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_NAME, L"pad");
            Press(editor, IDOK);
        });
    }
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(window->IsEnded());

    // A text with a colon that names no file: the target starts empty.
    boxes.Clear();
    Drive([&] { Open(L"ab:cd"); }, [&](CNewCommandDlg& editor) {
        EXPECT_EQ(L"", Field(editor, IDC_NC_TARGET));
        SetField(editor, IDC_NC_NAME, L"pad");
        SetField(editor, IDC_NC_TARGET, L"C:\\windows\\notepad.exe");
        Press(editor, IDCANCEL);
    });
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(CommandGone(L"pad"));
    EXPECT_TRUE(window->IsEnded());
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
}

TEST_F(CommandEditorTest, EachCommandHasAScopeTheListShowsAndEditKeepsOrMoves)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\Tools\\edit.exe", L"", 1));
    Open();
    const auto scopeOf = [](const CNewCommandDlg& editor) {
        return SendMessageW(editor.GetDlgItem(IDC_NC_SCOPE), CB_GETCURSEL, 0, 0);
    };
    const std::wstring userCfg = folder.UserCmds() + L"\\run_notes.cfg";
    const std::wstring both = TXT_NC_BOTH_SCOPES_BEFORE + std::wstring(L"notes") + TXT_NC_BOTH_SCOPES_AFTER;

    // Elevated, shared program folder: "All users" first; the same name for
    // "Just me" asks, and No keeps everything as typed.
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        EXPECT_EQ(1, scopeOf(editor));
        EXPECT_TRUE(IsWindowEnabled(editor.GetDlgItem(IDC_NC_SCOPE)));
        SetField(editor, IDC_NC_NAME, L"notes");
        SetField(editor, IDC_NC_TARGET, L"C:\\Mine\\edit.exe");
        SendMessageW(editor.GetDlgItem(IDC_NC_SCOPE), CB_SETCURSEL, 0, 0);
        boxes.Answer(IDNO);
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
        EXPECT_FALSE(FileExists(userCfg));
        boxes.Answer(IDYES);
        Press(editor, IDOK);
    });
    EXPECT_EQ((Texts{both, both}), boxes.Texts());
    EXPECT_EQ(folder.UserCmds() + L"\\run_notes.lnk", ReadStringValue(HKEY_CURRENT_USER, AppPathsKeyName(L"notes")));
    EXPECT_EQ((Texts{L"All users", L"Just me"}), Column(3));

    // Deleting the "Just me" row removes only that one.
    window->CommandsPage().List().SelectItem(1);
    boxes.Clear();
    boxes.Answer(IDYES);
    Command(IDC_DELETE_COMMAND);
    EXPECT_FALSE(FileExists(userCfg));
    EXPECT_TRUE(CommandExists(L"notes"));

    // Moving the "All users" command to "Just me": made there first, then removed here.
    RunEdit(L"notes", [&](CNewCommandDlg& editor) {
        EXPECT_EQ(1, scopeOf(editor));
        SendMessageW(editor.GetDlgItem(IDC_NC_SCOPE), CB_SETCURSEL, 0, 0);
        Press(editor, IDOK);
    });
    EXPECT_TRUE(CommandGone(L"notes"));
    EXPECT_EQ("notes\r\nC:\\Tools\\edit.exe\r\n\r\n1\r\n", ReadFileBytes(userCfg));
    EXPECT_EQ(Texts{L"Just me"}, Column(3));

    // Without administrator rights "All users" is not offered, and says why.
    Services().processElevated = [] { return false; };
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        EXPECT_EQ(0, scopeOf(editor));
        EXPECT_FALSE(IsWindowEnabled(editor.GetDlgItem(IDC_NC_SCOPE)));
        EXPECT_EQ(TXT_NC_SCOPE_NEEDS_ADMIN, Field(editor, IDC_NC_SCOPE_TIP));
    });
    // An All users command keeps its scope and is not saved without the rights.
    ASSERT_TRUE(CreateCommand(L"memo", L"C:\\memo.exe", L"", 1));
    window->CommandsPage().FillCommandList();
    boxes.Clear();
    RunEdit(L"memo", [&](CNewCommandDlg& editor) {
        EXPECT_EQ(1, scopeOf(editor));
        SetField(editor, IDC_NC_PARAMETERS, L"-x");
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
    });
    EXPECT_EQ(Texts{TXT_NEEDS_ADMIN_BEFORE + std::wstring(TXT_ACTION_SAVE_MACHINE_COMMAND) + TXT_NEEDS_ADMIN_AFTER},
              boxes.Texts());
    EXPECT_EQ("memo\r\nC:\\memo.exe\r\n\r\n1\r\n", ReadFileBytes(Cfg(L"memo")));
}

TEST_F(CommandEditorTest, ANameAFileOnThePathWinsIsWarnedAboutAndMarkedInTheList)
{
    // A folder on this process's PATH holding shadowy.cmd, as a tool's would.
    const std::wstring tools = folder.Path() + L"\\tools";
    CreateDirectoryW(tools.c_str(), nullptr);
    WriteFileBytes(tools + L"\\shadowy.cmd", "@echo off");
    wchar_t oldPath[32768] = {};
    GetEnvironmentVariableW(L"PATH", oldPath, std::size(oldPath));
    SetEnvironmentVariableW(L"PATH", (L"\"" + tools + L"\";" + oldPath).c_str());
    wchar_t oldExtensions[1024] = {};
    GetEnvironmentVariableW(L"PATHEXT", oldExtensions, std::size(oldExtensions));
    SetEnvironmentVariableW(L"PATHEXT", L".COM;.EXE;.CMD");
    const std::wstring question = TXT_NC_SHADOWED_BEFORE + std::wstring(L"shadowy") + TXT_NC_SHADOWED_MIDDLE + tools +
                                 L"\\shadowy.CMD" + TXT_NC_SHADOWED_AFTER;
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"shadowy");
        SetField(editor, IDC_NC_TARGET, L"C:\\Tools\\edit.exe");
        boxes.Answer(IDNO);
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded()); // No: kept as typed, nothing written
        EXPECT_TRUE(CommandGone(L"shadowy"));
        boxes.Answer(IDYES);
        Press(editor, IDOK); // a warning, not a refusal
    });
    EXPECT_EQ((Texts{question, question}), boxes.Texts());
    EXPECT_TRUE(CommandExists(L"shadowy"));

    wchar_t tip[512] = {};
    NMLVGETINFOTIPW request{};
    request.hdr = {window->CommandsPage().List().GetSafeHwnd(), IDC_COMMAND_LIST, static_cast<UINT>(LVN_GETINFOTIPW)};
    request.pszText = tip;
    request.cchTextMax = 512;
    request.iItem = 0;
    SendMessageW(Hwnd(), WM_NOTIFY, IDC_COMMAND_LIST, reinterpret_cast<LPARAM>(&request));
    SetEnvironmentVariableW(L"PATH", oldPath);
    SetEnvironmentVariableW(L"PATHEXT", oldExtensions);
    EXPECT_EQ(TXT_SHADOWED_ROW_BEFORE + tools + L"\\shadowy.CMD" + TXT_SHADOWED_ROW_AFTER, std::wstring(tip));
}

namespace {

// Another program's entry of the name "taken": default value, an expandable
// Path, a DWORD and a subkey, as installers write them.
std::map<std::wstring, std::string> RegisterOtherProgram()
{
    const std::wstring key = AppPathsKeyName(L"taken");
    WriteStringValue(HKEY_LOCAL_MACHINE, key, L"", std::wstring(L"\"C:\\Other\\taken.exe\""));
    WriteStringValue(HKEY_LOCAL_MACHINE, key, L"Path", L"%ProgramFiles%\\Other", REG_EXPAND_SZ);
    WriteRawValue(HKEY_LOCAL_MACHINE, key, L"DropTarget", REG_DWORD, std::string("\x01\0\0\0", 4));
    WriteStringValue(HKEY_LOCAL_MACHINE, key + L"\\SupportedProtocols", L"http", L"");
    return ReadKeyTree(HKEY_LOCAL_MACHINE, key);
}

} // namespace

TEST_F(CommandEditorTest, AnotherProgramsEntryIsReplacedOnlyAfterYesAndWithABackup)
{
    const auto other = RegisterOtherProgram();
    Open();
    auto save = [&](int answer) {
        boxes.Answer(answer);
        Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_NAME, L"taken");
            SetField(editor, IDC_NC_TARGET, L"C:\\Mine\\mine.exe");
            Press(editor, IDOK);
            EXPECT_EQ(answer == IDYES, editor.IsEnded()); // No keeps the dialog open as typed
            EXPECT_EQ(L"taken", Field(editor, IDC_NC_NAME));
        });
    };
    save(IDNO);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ(0u, boxes.Boxes()[0].text.find(L"Another program has registered the name taken in the Run dialog for "
                                             L"all users; it starts C:\\Other\\taken.exe.\n\nReplace it"));
    EXPECT_EQ(other, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"taken")));
    EXPECT_FALSE(FileExists(Cfg(L"taken")));

    save(IDYES);
    EXPECT_TRUE(CommandExists(L"taken"));
    EXPECT_EQ(Link(L"taken"), ReadStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"taken")));
    EXPECT_EQ(L"<missing>", ReadStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"taken"), L"DropTarget"));
    // The note: the backup's name in the machine's backups, and its checksum.
    const std::wstring note = ReadStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"taken"), kReplacedEntryValue);
    EXPECT_EQ(0u, note.find(L"taken.exe-"));
    EXPECT_EQ(64u, note.size() - note.find('|') - 1);
    EXPECT_TRUE(FileExists(folder.MachineBackups() + L"\\" + note.substr(0, note.find('|'))));

    // Saving it again is the command's own entry: no question.
    boxes.Clear();
    RunEdit(L"taken", [&](CNewCommandDlg& editor) { Press(editor, IDOK); });
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CommandEditorTest, DeletingACommandThatReplacedAnEntryOffersToPutItBackExactly)
{
    const auto other = RegisterOtherProgram();
    Open();
    boxes.Answer(IDYES);
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"taken");
        SetField(editor, IDC_NC_TARGET, L"C:\\Mine\\mine.exe");
        Press(editor, IDOK);
    });
    ASSERT_TRUE(CommandExists(L"taken"));
    window->CommandsPage().List().SelectItem(0);
    boxes.Clear();
    boxes.Answer(IDYES); // delete
    boxes.Answer(IDYES); // put the other program's entry back
    Command(ID_COMMAND_DELETE);
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[1].text.find(L"When the command taken was made, it replaced another program\264s "
                                             L"Run-dialog entry taken.exe for all users, and Verbosa kept a copy."
                                             L"\n\nPut taken.exe back for all users now?"));
    EXPECT_EQ(other, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"taken")));
    EXPECT_FALSE(FileExists(Cfg(L"taken")));
}

TEST_F(CommandEditorTest, DeleteAndRenameKeepTheEntryAnotherProgramHasSinceRewritten)
{
    Open();
    // A command, whose entry another program's installer then writes for itself.
    auto makeAndLose = [&](const wchar_t* name) {
        Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_NAME, name);
            SetField(editor, IDC_NC_TARGET, L"C:\\Mine\\mine.exe");
            Press(editor, IDOK);
        });
        EXPECT_TRUE(CommandExists(name));
        WriteStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName(name), L"", L"\"C:\\Other\\browser.exe\"");
        return ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName(name));
    };
    auto expectKeptSaid = [&](const std::wstring& name) {
        ASSERT_FALSE(boxes.Boxes().empty());
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes().back().type & (MB_TYPEMASK | MB_ICONMASK));
        EXPECT_EQ(L"The files of the command " + name + L" were removed. Its Run-dialog entry " + name +
                      L".exe now belongs to another program, so Verbosa kept it; it starts C:\\Other\\browser.exe.",
                  boxes.Boxes().back().text);
    };

    const auto deleted = makeAndLose(L"chrome");
    window->CommandsPage().List().SelectItem(0);
    boxes.Clear();
    boxes.Answer(IDYES);
    Command(ID_COMMAND_DELETE);
    EXPECT_EQ(deleted, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"chrome")));
    EXPECT_FALSE(FileExists(Link(L"chrome")) || FileExists(Cfg(L"chrome")));
    EXPECT_EQ(2u, boxes.Boxes().size()); // the question and what was kept: not a failure
    expectKeptSaid(L"chrome");

    const auto renamed = makeAndLose(L"edge");
    boxes.Clear();
    RunEdit(L"edge", [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, L"surfer");
        Press(editor, IDOK);
    });
    EXPECT_TRUE(CommandExists(L"surfer"));
    EXPECT_EQ(renamed, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"edge")));
    EXPECT_FALSE(FileExists(Link(L"edge")) || FileExists(Cfg(L"edge")));
    expectKeptSaid(L"edge");
}

TEST_F(CommandEditorTest, APutBackNoteThatFailsItsChecksIsNotUsedAndPutsNothingBack)
{
    // Files a program of the user could write: the entry of another name
    // for all users, and the command's own entry.
    auto entryFile = [](CommandScope scope, const std::u16string& keyName) {
        const std::u16string target = u"C:\\Evil\\evil.exe";
        RegKey entry{AppPathsEntryRegPath(scope, keyName),
                     {{u"", kRegSz, std::string(reinterpret_cast<const char*>(target.c_str()), 2 * target.size() + 2)}},
                     {}};
        std::string bytes, why;
        EXPECT_TRUE(WriteRegFile(entry, bytes, why)) << why;
        return bytes;
    };
    const std::string victim = entryFile(CommandScope::machine, u"victim.exe");
    const std::string own = entryFile(CommandScope::user, u"mine.exe");
    const std::wstring outside = folder.Path() + L"\\crafted.reg";
    WriteFileBytes(outside, victim);
    CreateDirectoryW((folder.Path() + L"\\LocalAppData").c_str(), nullptr);
    CreateDirectoryW((folder.Path() + L"\\LocalAppData\\Verbosa").c_str(), nullptr);
    CreateDirectoryW(folder.Backups().c_str(), nullptr);
    WriteFileBytes(folder.Backups() + L"\\victim.reg", victim);
    WriteFileBytes(folder.Backups() + L"\\own.reg", own);
    struct Case {
        std::wstring note, shown;
    };
    const Case cases[] = {
        {outside, outside},                                                   // an earlier note's full path
        {L"..\\..\\crafted.reg|" + AsciiToWide(Sha256Hex(victim)), L"..\\..\\crafted.reg|"}, // outside the backups
        {L"victim.reg|" + AsciiToWide(Sha256Hex(victim)), L"victim.reg"},                    // another entry and scope
        {L"own.reg|" + AsciiToWide(Sha256Hex("changed")), L"own.reg"},                       // changed since
    };
    for (const Case& test : cases) {
        ASSERT_TRUE(::CreateCommand(L"mine", L"C:\\Mine\\mine.exe", L"", SW_SHOWNORMAL, CommandScope::user));
        WriteStringValue(HKEY_CURRENT_USER, AppPathsKeyName(L"mine"), kReplacedEntryValue, test.note);
        Open();
        window->CommandsPage().List().SelectItem(0);
        boxes.Clear();
        boxes.Answer(IDYES);
        Command(ID_COMMAND_DELETE);
        ASSERT_EQ(2u, boxes.Boxes().size()) << test.note;
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[1].type & (MB_TYPEMASK | MB_ICONMASK));
        EXPECT_EQ(0u, boxes.Boxes()[1].text.find(L"When the command mine was made, it noted a copy of another "
                                                 L"program\264s Run-dialog entry in " + test.shown))
            << boxes.Boxes()[1].text;
        EXPECT_NE(std::wstring::npos, boxes.Boxes()[1].text.find(L"That note is not used, and nothing was put back."));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"victim")));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, AppPathsKeyName(L"mine")));
    }
}
