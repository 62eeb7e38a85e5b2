// The New/Edit Command dialog driven through the main window, in process
// under Wine and Xvfb, against a scratch registry and program folder.
#include "framework/CodePage.h"
#include "tests/app/MainWindowFixture.h"

#include "catalogue/CommandLimits.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "catalogue/FolderBrowser.h"
#include "catalogue/NewCommandDlg.h"
#include "catalogue/ReplacedEntry.h"
#include "framework/FileDialog.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "framework/Sha256.h"
#include "regbackup/BackupRules.h"
#include "regbackup/RegFileFormat.h"
#include "resources/NewCommandIds.h"
#include "resources/Texts.h"
#include "tests/support/DialogDriver.h"

#include <htmlhelp.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Refuses to create the App Paths entry of one name, as a user without
// administrator rights would be refused (inside a services guard).
void DenyEntry(const std::string& name)
{
    const std::string key = AppPathsKeyName(name);
    Services().registryAccess = [key](HKEY, const std::wstring& subkey, REGSAM) { return subkey != AnsiToWide(key); };
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
            SendMessageA(editor.GetSafeHwnd(), WM_SHOWWINDOW, TRUE, 0);
            drive(editor);
        };
        open();
        return opened;
    }
    int Run(int command, const std::function<void(CNewCommandDlg&)>& drive)
    {
        return Drive([&] { Command(command); }, drive);
    }
    int RunEdit(const std::string& name, const std::function<void(CNewCommandDlg&)>& drive)
    {
        if (const int row = RowWithText(window->CommandsPage().List(), 0, name); row >= 0)
            window->CommandsPage().List().SelectItem(row);
        return Run(ID_COMMAND_EDIT, drive);
    }

    std::string Cfg(const std::string& name) const { return CommandPropertiesFile(folder.Cmds(), name); }
    std::string Link(const std::string& name) const { return CommandLinkFile(folder.Cmds(), name); }
    bool EntryExists(const std::string& name) const { return KeyExists(HKEY_LOCAL_MACHINE, AppPathsKeyName(name)); }
    bool CommandExists(const std::string& name) const
    {
        return EntryExists(name) && FileExists(Link(name)) && FileExists(Cfg(name));
    }
    bool CommandGone(const std::string& name) const
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
        SendMessageA(editor.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
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
        SetField(editor, IDC_NC_NAME, "my tool");
        SetField(editor, IDC_NC_TARGET, "C:\\Tools");
        Press(editor, IDOK);
        SetField(editor, IDC_NC_NAME, "My(Tool)");
        SetField(editor, IDC_NC_TARGET, "");
        Press(editor, IDOK);
        SetField(editor, IDC_NC_NAME, "caf\xE9");
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
        EXPECT_EQ("caf\xE9", Field(editor, IDC_NC_NAME));
    });
    EXPECT_EQ((Texts{TXT_ENTER_COMMAND_NAME, TXT_ILLEGAL_COMMAND_NAME, TXT_ENTER_COMMAND_PATH,
                     TXT_ILLEGAL_COMMAND_NAME}),
              boxes.Texts());
    for (const auto& box : boxes.Boxes())
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), box.type) << box.text;
    for (const char* name : {"", "my tool", "my(tool)", "caf\xE9"})
        EXPECT_TRUE(CommandGone(name)) << name;
    EXPECT_EQ(0, window->CommandsPage().List().GetItemCount());
}

TEST_F(CommandEditorTest, NewStoresTheNameLowerCasedAndTheTargetTrimmed)
{
    Open();
    Run(ID_FILE_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "My(Tool)");
        SetField(editor, IDC_NC_TARGET, "C:\\Data\\\\\\");
        SetField(editor, IDC_NC_PARAMETERS, "-x \"a b\" \xE9\xFC");
        SetMode(editor, 1);
        Press(editor, IDOK);
        EXPECT_TRUE(editor.IsEnded());
        EXPECT_EQ(IDOK, editor.GetResult());
    });
    EXPECT_TRUE(boxes.Texts().empty()); // no success message outside path mode
    EXPECT_EQ(PropertiesBytes({"my(tool)", "C:\\Data", "-x \"a b\" \xE9\xFC", "7"}), ReadFileBytes(Cfg("my(tool)")));
    EXPECT_TRUE(CommandExists("my(tool)"));
    EXPECT_EQ(Texts{"my(tool)"}, Column(0));

    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "root");
        SetField(editor, IDC_NC_TARGET, "C:\\");
        SetMode(editor, 2);
        Press(editor, IDOK);
    });
    EXPECT_EQ(PropertiesBytes({"root", "C:\\", "", "3"}), ReadFileBytes(Cfg("root")));

    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "none");
        SetField(editor, IDC_NC_TARGET, "C:\\Tools\\run.exe");
        SetMode(editor, -1); // no selection
        Press(editor, IDOK);
    });
    EXPECT_EQ(PropertiesBytes({"none", "C:\\Tools\\run.exe", "", "0"}), ReadFileBytes(Cfg("none")));
    EXPECT_EQ(3, window->CommandsPage().List().GetItemCount());
}

TEST_F(CommandEditorTest, WhatACommandCannotHoldIsRefusedBeforeAnythingIsWritten)
{
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "long");
        SetField(editor, IDC_NC_TARGET, "C:\\" + std::string(257, 'a'));
        Press(editor, IDOK);
        SetField(editor, IDC_NC_TARGET, "C:\\" + std::string(2000, 'b'));
        Press(editor, IDOK);
        EXPECT_EQ(2003u, Field(editor, IDC_NC_TARGET, 4096).size()); // kept as typed
        SetField(editor, IDC_NC_TARGET, "C:\\Tools\\run.exe");
        SetField(editor, IDC_NC_PARAMETERS, "-a\r\n-b");
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
        EXPECT_EQ("-a\r\n-b", Field(editor, IDC_NC_PARAMETERS));
        // Typing stops where import and the properties reader stop.
        EXPECT_EQ(LRESULT(kMaxCommandParameters), SendMessageW(editor.GetDlgItem(IDC_NC_PARAMETERS), EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(LRESULT(kMaxCommandName), SendMessageW(editor.GetDlgItem(IDC_NC_NAME), EM_GETLIMITTEXT, 0, 0));
        SetField(editor, IDC_NC_PARAMETERS, std::string(kMaxCommandParameters + 1, 'p'));
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
    });
    EXPECT_EQ((Texts{TXT_NC_TARGET_TOO_LONG, TXT_NC_TARGET_TOO_LONG, TXT_NC_LINE_BREAK, TXT_NC_PARAMETERS_TOO_LONG}),
              boxes.Texts());
    EXPECT_TRUE(CommandGone("long"));
}

TEST_F(CommandEditorTest, AFailedCreationClosesTheDialogAndTheListIsStillRebuilt)
{
    Open();
    WriteCommandFile("other", {"other", "C:\\other.exe", "", "1"}); // not listed yet
    DenyEntry("pad");
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "pad");
        SetField(editor, IDC_NC_TARGET, "C:\\windows\\notepad.exe");
        Press(editor, IDOK);
        EXPECT_TRUE(editor.IsEnded());
        EXPECT_EQ(IDOK, editor.GetResult());
    });
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(CommandGone("pad"));
    EXPECT_EQ(Texts{"other"}, Column(0));
}

TEST_F(CommandEditorTest, CancelWritesNothing)
{
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "pad");
        SetField(editor, IDC_NC_TARGET, "C:\\windows\\notepad.exe");
        Press(editor, IDCANCEL);
        EXPECT_EQ(IDCANCEL, editor.GetResult());
    });
    EXPECT_TRUE(CommandGone("pad"));
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(CommandEditorTest, EditShowsTheStoredFieldsAndRewritesTheSameName)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\Tools\\edit.exe", "-a", 7));
    Open();
    window->CommandsPage().List().SelectItem(0);
    const auto doubleClick = [&] { EXPECT_EQ(0, Notify(IDC_COMMAND_LIST, NM_DBLCLK)); };
    const int opened = Drive(doubleClick, [&](CNewCommandDlg& editor) {
        EXPECT_TRUE(editor.IsEditMode());
        EXPECT_EQ(TXT_NC_CAPTION_EDIT, Caption(editor));
        EXPECT_EQ("notes", Field(editor, IDC_NC_NAME));
        EXPECT_EQ("C:\\Tools\\edit.exe", Field(editor, IDC_NC_TARGET));
        EXPECT_EQ("-a", Field(editor, IDC_NC_PARAMETERS));
        EXPECT_EQ(1, Mode(editor)); // "7" is Minimized
        // Shown again: the combo box is refilled, not added to.
        SendMessageA(editor.GetSafeHwnd(), WM_SHOWWINDOW, FALSE, 0);
        SendMessageA(editor.GetSafeHwnd(), WM_SHOWWINDOW, TRUE, 0);
        EXPECT_EQ(3, SendMessageW(editor.GetDlgItem(IDC_NC_MODE), CB_GETCOUNT, 0, 0));
        SetField(editor, IDC_NC_PARAMETERS, "-b");
        Press(editor, IDOK);
    });
    EXPECT_EQ(1, opened);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(PropertiesBytes({"notes", "C:\\Tools\\edit.exe", "-b", "7"}), ReadFileBytes(Cfg("notes")));
    EXPECT_TRUE(CommandExists("notes"));
    EXPECT_EQ(Texts{"-b"}, Column(2));
}

TEST_F(CommandEditorTest, EditWithoutASelectionOpensNothing)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\Tools\\edit.exe", "", 1));
    Open();
    EXPECT_EQ(0, Run(ID_COMMAND_EDIT, [](CNewCommandDlg&) {}));
}

TEST_F(CommandEditorTest, RenamingKeepsTheOldCommandUntilTheNewOneExists)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\Tools\\edit.exe", "-a", 1));
    Open();
    RunEdit("notes", [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "Memo");
        Press(editor, IDOK);
    });
    EXPECT_TRUE(CommandGone("notes"));
    EXPECT_TRUE(CommandExists("memo"));
    EXPECT_EQ(Texts{"memo"}, Column(0));

    // The new name cannot be created: the old command stays whole.
    {
        CServicesGuard deny;
        DenyEntry("pad");
        RunEdit("memo", [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_NAME, "pad");
            Press(editor, IDOK);
            EXPECT_TRUE(editor.IsEnded());
        });
    }
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(CommandGone("pad"));
    EXPECT_TRUE(CommandExists("memo"));
    EXPECT_EQ(PropertiesBytes({"memo", "C:\\Tools\\edit.exe", "-a", "1"}), ReadFileBytes(Cfg("memo")));

    // Nor is anything lost when the same name cannot be rewritten.
    boxes.Clear();
    {
        CServicesGuard deny;
        DenyEntry("memo");
        RunEdit("memo", [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_PARAMETERS, "-changed");
            Press(editor, IDOK);
        });
    }
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(CommandExists("memo"));
    EXPECT_EQ(PropertiesBytes({"memo", "C:\\Tools\\edit.exe", "-a", "1"}), ReadFileBytes(Cfg("memo")));
    EXPECT_EQ(Texts{"memo"}, Column(0));
}

TEST_F(CommandEditorTest, EditOfAMissingPropertiesFileReportsItAndOkReplacesTheRest)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\Tools\\edit.exe", "", 1));
    Open();
    DeleteFileA(Cfg("notes").c_str()); // gone behind the window's back
    RunEdit("notes", [&](CNewCommandDlg& editor) {
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(Cfg("notes") + " was not found.", boxes.Boxes()[0].text);
        EXPECT_EQ(UINT(MB_ICONERROR), boxes.Boxes()[0].type & MB_ICONMASK);
        EXPECT_TRUE(editor.IsEditMode());
        EXPECT_EQ(TXT_NC_CAPTION_NEW, Caption(editor));
        EXPECT_EQ("", Field(editor, IDC_NC_NAME));
        EXPECT_EQ("", Field(editor, IDC_NC_TARGET));
        SetField(editor, IDC_NC_NAME, "notes");
        SetField(editor, IDC_NC_TARGET, "C:\\Tools\\new.exe");
        Press(editor, IDOK);
    });
    EXPECT_EQ(1u, boxes.Boxes().size());
    EXPECT_TRUE(CommandExists("notes"));
    EXPECT_EQ(PropertiesBytes({"notes", "C:\\Tools\\new.exe", "", "1"}), ReadFileBytes(Cfg("notes")));
}

TEST_F(CommandEditorTest, BrowseFillsTheTargetFromFileFolderAndUrl)
{
    Open();
    const std::string tools = folder.Path() + "\\Tools";
    CreateDirectoryA(tools.c_str(), nullptr);

    std::vector<OPENFILENAMEA> requests;
    std::string filter;
    bool confirm = true;
    Services().openFileName = [&](OPENFILENAMEA& request) -> BOOL {
        requests.push_back(request);
        const char* end = request.lpstrFilter;
        while (end[0] || end[1])
            ++end;
        filter.assign(request.lpstrFilter, end + 2);
        if (!confirm)
            return FALSE;
        lstrcpynA(request.lpstrFile, "C:\\Tools\\chosen.exe", request.nMaxFile);
        return TRUE;
    };
    int call = 0;
    std::vector<std::string> titles;
    Services().browseForFolder = [&](BROWSEINFOA& info) -> PIDLIST_ABSOLUTE {
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
        return ILCreateFromPathA(tools.c_str());
    };

    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_TARGET, "typed");
        Press(editor, ID_BROWSE_URL);
        EXPECT_EQ(TXT_NC_URL_START, Field(editor, IDC_NC_TARGET));

        Press(editor, ID_BROWSE_FILE);
        EXPECT_EQ("C:\\Tools\\chosen.exe", Field(editor, IDC_NC_TARGET));
        confirm = false;
        SetField(editor, IDC_NC_TARGET, "typed");
        Press(editor, ID_BROWSE_FILE);
        EXPECT_EQ("typed", Field(editor, IDC_NC_TARGET));

        Press(editor, ID_BROWSE_FOLDER); // cancelled
        EXPECT_EQ("typed", Field(editor, IDC_NC_TARGET));
        Press(editor, ID_BROWSE_FOLDER); // a virtual folder, then a real one
        EXPECT_EQ(tools, Field(editor, IDC_NC_TARGET));
    });

    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(std::string("All Files(*.*)\0*.*\0Exe Files(*.exe)\0*.exe\0", 42), filter.substr(0, 42));
    EXPECT_STREQ(TXT_NC_CHOOSE_FILE, requests[0].lpstrTitle);
    EXPECT_STREQ("*.*", requests[0].lpstrDefExt);
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
        const std::pair<int, const char*> fields[] = {{IDC_NC_NAME, TXT_NC_TIP_NAME},
                                                      {IDC_NC_TARGET, TXT_NC_TIP_TARGET},
                                                      {IDC_NC_PARAMETERS, TXT_NC_TIP_PARAMETERS}};
        for (const auto& [id, tip] : fields) {
            Focus(editor, id, EN_SETFOCUS);
            EXPECT_EQ(tip, Pane(3));
        }
        Focus(editor, IDC_NC_MODE, CBN_SETFOCUS);
        EXPECT_EQ(TXT_NC_TIP_MODE, Pane(3));

        HWND dlg = editor.GetSafeHwnd();
        SendMessageA(dlg, WM_MENUSELECT, MAKEWPARAM(ID_BROWSE_FOLDER, MF_HILITE), 0);
        EXPECT_EQ(TXT_NC_TIP_FOLDER, Pane(3));
        SendMessageA(dlg, WM_MENUSELECT, MAKEWPARAM(ID_BROWSE_URL, MF_HILITE), 0);
        EXPECT_EQ(TXT_NC_TIP_URL, Pane(3));
        SendMessageA(dlg, WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0); // menu closed
        EXPECT_EQ("", Pane(3));

        Focus(editor, IDC_NC_HELP, STN_CLICKED);
        ASSERT_EQ(1u, help.size());
        EXPECT_EQ(AnsiToWide(folder.Path() + "\\quillon.chm::/Creating_A_Command.htm"), help[0].path);
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
    EXPECT_EQ(UINT(IDS_ENTER_COMMAND_NAME), FirstInputProblem("", ""));
    EXPECT_EQ(UINT(IDS_ILLEGAL_COMMAND_NAME), FirstInputProblem("a.b", ""));
    EXPECT_EQ(UINT(IDS_ENTER_COMMAND_PATH), FirstInputProblem("ab", ""));
    // Only backslashes: trimming would leave an empty target to store.
    EXPECT_EQ(UINT(IDS_ENTER_COMMAND_PATH), FirstInputProblem("ab", "\\\\"));
    EXPECT_EQ(0u, FirstInputProblem("ab", "x"));
    EXPECT_EQ(0u, FirstInputProblem("ab", "C:\\"));
    EXPECT_EQ("", UnstorableInputText(std::string(259, 'a'), ""));
    EXPECT_EQ(TXT_NC_TARGET_TOO_LONG, UnstorableInputText(std::string(260, 'a'), ""));
    EXPECT_EQ(TXT_NC_LINE_BREAK, UnstorableInputText("C:\\a\nb", ""));
    EXPECT_EQ(TXT_NC_LINE_BREAK, UnstorableInputText("C:\\a", "\r"));
    EXPECT_EQ(std::string("a\0b\0\0", 5), FilterFromResource("a|b||"));
    EXPECT_STREQ(TXT_NC_TIP_FILE, BrowseMenuTip(ID_BROWSE_FILE));
    EXPECT_STREQ("", BrowseMenuTip(IDR_BROWSE_MENU));
}

// ---- path mode: the program started with a path, as the verb starts it ----

TEST_F(CommandEditorTest, PathModeOpensOnlyTheEditorWithTheLongFormAndReportsSuccess)
{
    const std::string file = folder.Path() + "\\A rather long file name.txt";
    WriteFileBytes(file, "x");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(file.c_str(), shortPath, MAX_PATH));
    char longPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetLongPathNameA(file.c_str(), longPath, MAX_PATH));
    ASSERT_STRNE(longPath, shortPath); // the 8.3 form really is another text

    const int opened = Drive([&] { Open(shortPath); }, [&](CNewCommandDlg& editor) {
        EXPECT_TRUE(editor.IsPathMode());
        EXPECT_EQ(TXT_NC_CAPTION_NEW, Caption(editor));
        EXPECT_EQ(std::string(longPath), Field(editor, IDC_NC_TARGET));
        SetField(editor, IDC_NC_NAME, "Note");
        Press(editor, IDOK);
    });
    EXPECT_EQ(1, opened);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(TXT_PATH_MODE_SUCCESS, boxes.Boxes()[0].text);
    EXPECT_EQ(TXT_OWN_CAPTION, boxes.Boxes()[0].caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].type);
    EXPECT_TRUE(CommandExists("note"));
    // The main window ends without ever being shown or filled.
    EXPECT_TRUE(window->IsEnded());
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
    EXPECT_EQ(0, window->CommandsPage().List().GetItemCount());
}

TEST_F(CommandEditorTest, PathModeFailureShowsOnlyTheFailureAndCancelWritesNothing)
{
    {
        CServicesGuard deny;
        DenyEntry("pad");
        Drive([&] { Open("C:\\windows\\notepad.exe"); }, [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_NAME, "pad");
            Press(editor, IDOK);
        });
    }
    EXPECT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_TRUE(window->IsEnded());

    // A text with a colon that names no file: the target starts empty.
    boxes.Clear();
    Drive([&] { Open("ab:cd"); }, [&](CNewCommandDlg& editor) {
        EXPECT_EQ("", Field(editor, IDC_NC_TARGET));
        SetField(editor, IDC_NC_NAME, "pad");
        SetField(editor, IDC_NC_TARGET, "C:\\windows\\notepad.exe");
        Press(editor, IDCANCEL);
    });
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(CommandGone("pad"));
    EXPECT_TRUE(window->IsEnded());
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
}

TEST_F(CommandEditorTest, EachCommandHasAScopeTheListShowsAndEditKeepsOrMoves)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\Tools\\edit.exe", "", 1));
    Open();
    const auto scopeOf = [](const CNewCommandDlg& editor) {
        return SendMessageW(editor.GetDlgItem(IDC_NC_SCOPE), CB_GETCURSEL, 0, 0);
    };
    const std::string userCfg = folder.UserCmds() + "\\run_notes.cfg";
    const std::string both = TXT_NC_BOTH_SCOPES_BEFORE + std::string("notes") + TXT_NC_BOTH_SCOPES_AFTER;

    // Elevated, shared program folder: "All users" first; the same name for
    // "Just me" asks, and No keeps everything as typed.
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        EXPECT_EQ(1, scopeOf(editor));
        EXPECT_TRUE(IsWindowEnabled(editor.GetDlgItem(IDC_NC_SCOPE)));
        SetField(editor, IDC_NC_NAME, "notes");
        SetField(editor, IDC_NC_TARGET, "C:\\Mine\\edit.exe");
        SendMessageW(editor.GetDlgItem(IDC_NC_SCOPE), CB_SETCURSEL, 0, 0);
        boxes.Answer(IDNO);
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
        EXPECT_FALSE(FileExists(userCfg));
        boxes.Answer(IDYES);
        Press(editor, IDOK);
    });
    EXPECT_EQ((Texts{both, both}), boxes.Texts());
    EXPECT_EQ(folder.UserCmds() + "\\run_notes.lnk", ReadStringValue(HKEY_CURRENT_USER, AppPathsKeyName("notes")));
    EXPECT_EQ((Texts{"All users", "Just me"}), Column(3));

    // Deleting the "Just me" row removes only that one.
    window->CommandsPage().List().SelectItem(1);
    boxes.Clear();
    boxes.Answer(IDYES);
    Command(IDC_DELETE_COMMAND);
    EXPECT_FALSE(FileExists(userCfg));
    EXPECT_TRUE(CommandExists("notes"));

    // Moving the "All users" command to "Just me": made there first, then removed here.
    RunEdit("notes", [&](CNewCommandDlg& editor) {
        EXPECT_EQ(1, scopeOf(editor));
        SendMessageW(editor.GetDlgItem(IDC_NC_SCOPE), CB_SETCURSEL, 0, 0);
        Press(editor, IDOK);
    });
    EXPECT_TRUE(CommandGone("notes"));
    EXPECT_EQ("notes\r\nC:\\Tools\\edit.exe\r\n\r\n1\r\n", ReadFileBytes(userCfg));
    EXPECT_EQ(Texts{"Just me"}, Column(3));

    // Without administrator rights "All users" is not offered, and says why.
    Services().processElevated = [] { return false; };
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        EXPECT_EQ(0, scopeOf(editor));
        EXPECT_FALSE(IsWindowEnabled(editor.GetDlgItem(IDC_NC_SCOPE)));
        EXPECT_EQ(TXT_NC_SCOPE_NEEDS_ADMIN, Field(editor, IDC_NC_SCOPE_TIP));
    });
    // An All users command keeps its scope and is not saved without the rights.
    ASSERT_TRUE(CreateCommand("memo", "C:\\memo.exe", "", 1));
    window->CommandsPage().FillCommandList();
    boxes.Clear();
    RunEdit("memo", [&](CNewCommandDlg& editor) {
        EXPECT_EQ(1, scopeOf(editor));
        SetField(editor, IDC_NC_PARAMETERS, "-x");
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded());
    });
    EXPECT_EQ(Texts{TXT_NEEDS_ADMIN_BEFORE + std::string(TXT_ACTION_SAVE_MACHINE_COMMAND) + TXT_NEEDS_ADMIN_AFTER},
              boxes.Texts());
    EXPECT_EQ("memo\r\nC:\\memo.exe\r\n\r\n1\r\n", ReadFileBytes(Cfg("memo")));
}

TEST_F(CommandEditorTest, ANameAFileOnThePathWinsIsWarnedAboutAndMarkedInTheList)
{
    // A folder on this process's PATH holding shadowy.cmd, as a tool's would.
    const std::string tools = folder.Path() + "\\tools";
    CreateDirectoryA(tools.c_str(), nullptr);
    WriteFileBytes(tools + "\\shadowy.cmd", "@echo off");
    char oldPath[32768] = {};
    GetEnvironmentVariableA("PATH", oldPath, sizeof oldPath);
    SetEnvironmentVariableA("PATH", ("\"" + tools + "\";" + oldPath).c_str());
    char oldExtensions[1024] = {};
    GetEnvironmentVariableA("PATHEXT", oldExtensions, sizeof oldExtensions);
    SetEnvironmentVariableA("PATHEXT", ".COM;.EXE;.CMD");
    const std::string question = TXT_NC_SHADOWED_BEFORE + std::string("shadowy") + TXT_NC_SHADOWED_MIDDLE + tools +
                                 "\\shadowy.CMD" + TXT_NC_SHADOWED_AFTER;
    Open();
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "shadowy");
        SetField(editor, IDC_NC_TARGET, "C:\\Tools\\edit.exe");
        boxes.Answer(IDNO);
        Press(editor, IDOK);
        EXPECT_FALSE(editor.IsEnded()); // No: kept as typed, nothing written
        EXPECT_TRUE(CommandGone("shadowy"));
        boxes.Answer(IDYES);
        Press(editor, IDOK); // a warning, not a refusal
    });
    EXPECT_EQ((Texts{question, question}), boxes.Texts());
    EXPECT_TRUE(CommandExists("shadowy"));

    char tip[512] = {};
    NMLVGETINFOTIPA request{};
    request.hdr = {window->CommandsPage().List().GetSafeHwnd(), IDC_COMMAND_LIST, static_cast<UINT>(LVN_GETINFOTIPA)};
    request.pszText = tip;
    request.cchTextMax = sizeof tip;
    request.iItem = 0;
    SendMessageA(Hwnd(), WM_NOTIFY, IDC_COMMAND_LIST, reinterpret_cast<LPARAM>(&request));
    SetEnvironmentVariableA("PATH", oldPath);
    SetEnvironmentVariableA("PATHEXT", oldExtensions);
    EXPECT_EQ(TXT_SHADOWED_ROW_BEFORE + tools + "\\shadowy.CMD" + TXT_SHADOWED_ROW_AFTER, std::string(tip));
}

namespace {

// Another program's entry of the name "taken": default value, an expandable
// Path, a DWORD and a subkey, as installers write them.
std::map<std::string, std::string> RegisterOtherProgram()
{
    const std::string key = AppPathsKeyName("taken");
    WriteRawValue(HKEY_LOCAL_MACHINE, key, "", REG_SZ, std::string("\"C:\\Other\\taken.exe\"") + '\0');
    WriteRawValue(HKEY_LOCAL_MACHINE, key, "Path", REG_EXPAND_SZ, std::string("%ProgramFiles%\\Other") + '\0');
    WriteRawValue(HKEY_LOCAL_MACHINE, key, "DropTarget", REG_DWORD, std::string("\x01\0\0\0", 4));
    WriteRawValue(HKEY_LOCAL_MACHINE, key + "\\SupportedProtocols", "http", REG_SZ, std::string(1, '\0'));
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
            SetField(editor, IDC_NC_NAME, "taken");
            SetField(editor, IDC_NC_TARGET, "C:\\Mine\\mine.exe");
            Press(editor, IDOK);
            EXPECT_EQ(answer == IDYES, editor.IsEnded()); // No keeps the dialog open as typed
            EXPECT_EQ("taken", Field(editor, IDC_NC_NAME));
        });
    };
    save(IDNO);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ(0u, boxes.Boxes()[0].text.find("Another program has registered the name taken in the Run dialog for "
                                             "all users; it starts C:\\Other\\taken.exe.\n\nReplace it"));
    EXPECT_EQ(other, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName("taken")));
    EXPECT_FALSE(FileExists(Cfg("taken")));

    save(IDYES);
    EXPECT_TRUE(CommandExists("taken"));
    EXPECT_EQ(Link("taken"), ReadStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName("taken")));
    EXPECT_EQ("<missing>", ReadStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName("taken"), "DropTarget"));
    // The note: the backup's name in the machine's backups, and its checksum.
    const std::string note = ReadStringValue(HKEY_LOCAL_MACHINE, AppPathsKeyName("taken"), kReplacedEntryValue);
    EXPECT_EQ(0u, note.find("taken.exe-"));
    EXPECT_EQ(64u, note.size() - note.find('|') - 1);
    EXPECT_TRUE(FileExists(folder.MachineBackups() + "\\" + note.substr(0, note.find('|'))));

    // Saving it again is the command's own entry: no question.
    boxes.Clear();
    RunEdit("taken", [&](CNewCommandDlg& editor) { Press(editor, IDOK); });
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CommandEditorTest, DeletingACommandThatReplacedAnEntryOffersToPutItBackExactly)
{
    const auto other = RegisterOtherProgram();
    Open();
    boxes.Answer(IDYES);
    Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "taken");
        SetField(editor, IDC_NC_TARGET, "C:\\Mine\\mine.exe");
        Press(editor, IDOK);
    });
    ASSERT_TRUE(CommandExists("taken"));
    window->CommandsPage().List().SelectItem(0);
    boxes.Clear();
    boxes.Answer(IDYES); // delete
    boxes.Answer(IDYES); // put the other program's entry back
    Command(ID_COMMAND_DELETE);
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[1].text.find("When the command taken was made, it replaced another program\264s "
                                             "Run-dialog entry taken.exe for all users, and Verbosa kept a copy."
                                             "\n\nPut taken.exe back for all users now?"));
    EXPECT_EQ(other, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName("taken")));
    EXPECT_FALSE(FileExists(Cfg("taken")));
}

TEST_F(CommandEditorTest, DeleteAndRenameKeepTheEntryAnotherProgramHasSinceRewritten)
{
    Open();
    // A command, whose entry another program's installer then writes for itself.
    auto makeAndLose = [&](const char* name) {
        Run(IDC_NEW_COMMAND, [&](CNewCommandDlg& editor) {
            SetField(editor, IDC_NC_NAME, name);
            SetField(editor, IDC_NC_TARGET, "C:\\Mine\\mine.exe");
            Press(editor, IDOK);
        });
        EXPECT_TRUE(CommandExists(name));
        WriteRawValue(HKEY_LOCAL_MACHINE, AppPathsKeyName(name), "", REG_SZ,
                      std::string("\"C:\\Other\\browser.exe\"") + '\0');
        return ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName(name));
    };
    auto expectKeptSaid = [&](const std::string& name) {
        ASSERT_FALSE(boxes.Boxes().empty());
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes().back().type & (MB_TYPEMASK | MB_ICONMASK));
        EXPECT_EQ("The files of the command " + name + " were removed. Its Run-dialog entry " + name +
                      ".exe now belongs to another program, so Verbosa kept it; it starts C:\\Other\\browser.exe.",
                  boxes.Boxes().back().text);
    };

    const auto deleted = makeAndLose("chrome");
    window->CommandsPage().List().SelectItem(0);
    boxes.Clear();
    boxes.Answer(IDYES);
    Command(ID_COMMAND_DELETE);
    EXPECT_EQ(deleted, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName("chrome")));
    EXPECT_FALSE(FileExists(Link("chrome")) || FileExists(Cfg("chrome")));
    EXPECT_EQ(2u, boxes.Boxes().size()); // the question and what was kept: not a failure
    expectKeptSaid("chrome");

    const auto renamed = makeAndLose("edge");
    boxes.Clear();
    RunEdit("edge", [&](CNewCommandDlg& editor) {
        SetField(editor, IDC_NC_NAME, "surfer");
        Press(editor, IDOK);
    });
    EXPECT_TRUE(CommandExists("surfer"));
    EXPECT_EQ(renamed, ReadKeyTree(HKEY_LOCAL_MACHINE, AppPathsKeyName("edge")));
    EXPECT_FALSE(FileExists(Link("edge")) || FileExists(Cfg("edge")));
    expectKeptSaid("edge");
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
    const std::string outside = folder.Path() + "\\crafted.reg";
    WriteFileBytes(outside, victim);
    CreateDirectoryA((folder.Path() + "\\LocalAppData").c_str(), nullptr);
    CreateDirectoryA((folder.Path() + "\\LocalAppData\\Verbosa").c_str(), nullptr);
    CreateDirectoryA(folder.Backups().c_str(), nullptr);
    WriteFileBytes(folder.Backups() + "\\victim.reg", victim);
    WriteFileBytes(folder.Backups() + "\\own.reg", own);
    struct Case {
        std::string note, shown;
    };
    const Case cases[] = {
        {outside, outside},                                                   // an earlier note's full path
        {"..\\..\\crafted.reg|" + Sha256Hex(victim), "..\\..\\crafted.reg|"}, // outside the backups
        {"victim.reg|" + Sha256Hex(victim), "victim.reg"},                    // another entry and scope
        {"own.reg|" + Sha256Hex("changed"), "own.reg"},                       // changed since
    };
    for (const Case& test : cases) {
        ASSERT_TRUE(::CreateCommand("mine", "C:\\Mine\\mine.exe", "", SW_SHOWNORMAL, CommandScope::user));
        WriteRawValue(HKEY_CURRENT_USER, AppPathsKeyName("mine"), kReplacedEntryValue, REG_SZ, test.note + '\0');
        Open();
        window->CommandsPage().List().SelectItem(0);
        boxes.Clear();
        boxes.Answer(IDYES);
        Command(ID_COMMAND_DELETE);
        ASSERT_EQ(2u, boxes.Boxes().size()) << test.note;
        EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[1].type & (MB_TYPEMASK | MB_ICONMASK));
        EXPECT_EQ(0u, boxes.Boxes()[1].text.find("When the command mine was made, it noted a copy of another "
                                                 "program\264s Run-dialog entry in " + test.shown))
            << boxes.Boxes()[1].text;
        EXPECT_NE(std::string::npos, boxes.Boxes()[1].text.find("That note is not used, and nothing was put back."));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, AppPathsKeyName("victim")));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, AppPathsKeyName("mine")));
    }
}
