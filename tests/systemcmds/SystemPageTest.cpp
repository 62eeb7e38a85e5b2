// The System Commands page driven in process: the listing, the progress
// bar, the first visit, Reload and Delete.
#include "framework/CodePage.h"
#include "tests/app/MainWindowFixture.h"
#include "framework/Services.h"
#include "framework/Utf16.h"
#include "tests/systemcmds/AppPathsFixture.h"

#include "services/TargetIcon.h"
#include "framework/Handles.h"
#include "catalogue/CommandScopeRules.h"
#include "framework/RegistryKey.h"
#include "regbackup/AppPathsBackup.h"
#include "regbackup/KeyTree.h"
#include "regbackup/RestoreDlg.h"
#include "resources/RestoreBackupIds.h"
#include "resources/Texts.h"
#include "resources/CleanUpIds.h"
#include "systemcmds/CleanUpDlg.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/IconPixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

class SystemPageTest : public MainWindowTest {
protected:
    const CListCtrl& List() const { return window->SystemPage().List(); }
    Texts SystemColumn(int column) const { return ColumnTexts(List(), column); }
    int RowWithPath(const std::wstring& path) const { return RowWithText(List(), 1, path); }
    // The icon the row shows is the one the icon rule gives for this target.
    void ExpectRowIcon(int row, const std::wstring& target) const
    {
        ASSERT_GE(row, 0);
        CIconHandle expected(GetTargetIcon(target, false));
        ASSERT_TRUE(expected);
        const int image = List().GetItemImage(row);
        ASSERT_GE(image, 0);
        EXPECT_EQ(IconPixels(expected.Get()), ImagePixels(window->SystemPage().Images(), image)) << L"row " << row;
    }
    // Runs the window's messages until the status pass has told every row.
    void WaitForStatuses() const
    {
        const ULONGLONG end = GetTickCount64() + 20000;
        MSG message{};
        while (!window->SystemPage().StatusesKnown() && GetTickCount64() < end) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            Sleep(5);
        }
        ASSERT_TRUE(window->SystemPage().StatusesKnown());
    }
    void ClickHeader(int column) const
    {
        NMLISTVIEW click{};
        click.hdr = {List().GetSafeHwnd(), static_cast<UINT_PTR>(IDC_SYSTEM_LIST), LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(Hwnd(), WM_NOTIFY, IDC_SYSTEM_LIST, reinterpret_cast<LPARAM>(&click));
    }
    void DeleteRow(int row, int answer)
    {
        List().SelectItem(row);
        boxes.Answer(answer);
        Command(ID_SYSTEM_DELETE);
    }
};

} // namespace

TEST_F(SystemPageTest, ListsOtherSoftwaresEntriesInRegistryOrder)
{
    const std::wstring word = L"C:\\Program Files\\Office\\WINWORD.EXE";
    AddAppPathsEntry(L"WINWORD.EXE", L"\"" + word + L"\"");
    AddAppPathsEntry(L"notes.exe", folder.Cmds() + L"\\run_notes.lnk"); // one of ours, sound
    WriteFileBytes(folder.Cmds() + L"\\run_notes.lnk", "shortcut");
    AddAppPathsEntry(L"shouty.exe", L"C:\\Links\\SHOUTY.LNK");          // someone else's
    AddBareAppPathsEntry(L".exe");
    AddBareAppPathsEntry(L"novalue.exe");
    AddAppPathsEntry(L"long.exe", L"C:\\" + std::wstring(297, 'l'));
    AddAppPathsEntry(L"locked.exe", L"C:\\locked.exe");
    AddAppPathsEntry(L"x.com", L"C:\\Tools\\x.com");
    // Refused however it is opened: by its full path or below App Paths.
    const std::wstring locked = AppPathsEntryKey(L"locked.exe");
    Services().registryAccess = [&](HKEY, const std::wstring& subkey, REGSAM) {
        return subkey != locked && subkey != L"locked.exe";
    };

    Open();
    EXPECT_EQ(0, List().GetItemCount()); // nothing until the page is visited
    SelectTreeItem(L"System");

    EXPECT_EQ((Texts{L"", L"locked", L"long", L"novalue", L"shouty", L"WINWORD", L"x"}), SystemColumn(0));
    EXPECT_EQ((Texts{L"", L"", L"", L"", L"C:\\Links\\SHOUTY.LNK", word, L"C:\\Tools\\x.com"}), SystemColumn(1));
    EXPECT_EQ(L"7 system command(s)", Pane(3));

    // Unread entries show the program folder's icon; WINWORD its target's rule.
    for (int row = 0; row < 4; ++row)
        ExpectRowIcon(row, folder.Path());
    ExpectRowIcon(5, word);
    EXPECT_TRUE(boxes.Boxes().empty()); // unreadable entries are no error
}

TEST_F(SystemPageTest, FirstVisitLoadsLaterVisitsKeepAndReloadRereads)
{
    AddAppPathsEntry(L"a.exe", L"C:\\a.exe");
    Open();
    SelectTreeItem(L"System");
    EXPECT_EQ((Texts{L"a"}), SystemColumn(0));

    AddAppPathsEntry(L"b.exe", L"C:\\b.exe");
    SelectTreeItem(L"My Commands");
    SelectTreeItem(L"System");
    EXPECT_EQ((Texts{L"a"}), SystemColumn(0));

    const int imagesBefore = window->SystemPage().Images().GetImageCount();
    Command(ID_SYSTEM_RELOAD);
    EXPECT_EQ((Texts{L"a", L"b"}), SystemColumn(0));
    // A reload replaces the images with the rows: no growth per reload.
    Command(ID_SYSTEM_RELOAD);
    EXPECT_LE(window->SystemPage().Images().GetImageCount(), imagesBefore + 1);
}

TEST_F(SystemPageTest, ProgressBarCountsEveryEntryAndHidesAtTheEnd)
{
    AddAppPathsEntry(L"a.exe", L"C:\\a.exe");
    AddAppPathsEntry(L"mine.exe", folder.Cmds() + L"\\run_mine.lnk"); // skipped, still counted
    WriteFileBytes(folder.Cmds() + L"\\run_mine.lnk", "shortcut");
    AddBareAppPathsEntry(L"b.exe");
    Open();
    const CProgressCtrl& bar = window->Progress();
    EXPECT_FALSE(bar.HasVisibleStyle());

    struct Move {
        int position;
        bool visible;
        int rowsSoFar;
    };
    std::vector<Move> moves;
    Services().systemLoadStep = [&](const CProgressCtrl& progress) {
        moves.push_back({progress.GetPos(), progress.HasVisibleStyle(), List().GetItemCount()});
    };
    auto range = [&] {
        PBRANGE r{};
        bar.Send(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&r));
        return std::pair{r.iLow, r.iHigh};
    };

    for (int load = 0; load < 2; ++load) { // a reload starts from the beginning again
        moves.clear();
        Command(ID_SYSTEM_RELOAD);
        // The bar moves now and then, forward only, and ends full.
        ASSERT_FALSE(moves.empty());
        for (size_t i = 0; i < moves.size(); ++i) {
            EXPECT_TRUE(moves[i].visible);
            EXPECT_LT(i > 0 ? moves[i - 1].position : 0, moves[i].position);
        }
        EXPECT_EQ(3, moves.back().position);
        EXPECT_EQ(2, moves.back().rowsSoFar); // mine.exe: counted, never listed
        EXPECT_EQ((std::pair{0, 3}), range());
        EXPECT_FALSE(bar.HasVisibleStyle());
        EXPECT_EQ(2, List().GetItemCount());
    }

    // An empty App Paths key: no step, range 0...0, hidden again.
    EXPECT_TRUE(CRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"a.exe")));
    EXPECT_TRUE(CRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"b.exe")));
    EXPECT_TRUE(CRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"mine.exe")));
    moves.clear();
    Command(ID_SYSTEM_RELOAD);
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ((std::pair{0, 0}), range());
    EXPECT_FALSE(bar.HasVisibleStyle());
    EXPECT_EQ(0, List().GetItemCount());
}

TEST_F(SystemPageTest, DeleteWarnsAndRemovesOnlyOnYes)
{
    AddAppPathsEntry(L"a.exe", L"C:\\a.exe");
    AddAppPathsEntry(L"b.exe", L"C:\\b.exe");
    Open();
    SelectTreeItem(L"System");

    Command(ID_SYSTEM_DELETE); // nothing selected: nothing asked, nothing gone
    EXPECT_TRUE(boxes.Boxes().empty());

    // With a row selected, menu 212 offers "Delete".
    UINT deleteState = MF_GRAYED;
    Services().contextMenu = [&](HMENU popup, UINT) { deleteState = GetMenuState(popup, ID_SYSTEM_DELETE, MF_BYCOMMAND); };
    List().SelectItem(1);
    Notify(IDC_SYSTEM_LIST, NM_RCLICK);
    EXPECT_EQ(0u, deleteState & (MF_GRAYED | MF_DISABLED));

    DeleteRow(1, IDNO);
    ASSERT_EQ(1u, boxes.Boxes().size());
    const MessageBoxRequest& box = boxes.Boxes()[0];
    EXPECT_EQ(TXT_SYSTEM_DELETE_WARNING, box.text);
    EXPECT_NE(std::wstring::npos, box.text.find('\n')); // two lines
    EXPECT_EQ(UINT(MB_YESNO), box.type & MB_TYPEMASK);
    EXPECT_EQ(UINT(MB_ICONEXCLAMATION), box.type & MB_ICONMASK);
    EXPECT_TRUE(AppPathsEntryExists(L"b.exe"));
    EXPECT_EQ((Texts{L"a", L"b"}), SystemColumn(0));

    boxes.Clear();
    DeleteRow(1, IDYES);
    EXPECT_EQ((Texts{TXT_SYSTEM_DELETE_WARNING}), boxes.Texts());
    EXPECT_FALSE(AppPathsEntryExists(L"b.exe"));
    EXPECT_TRUE(AppPathsEntryExists(L"a.exe"));
    EXPECT_EQ((Texts{L"a"}), SystemColumn(0));
}

TEST_F(SystemPageTest, RefusedOrVanishedDeletionsSaySoAndKeepTheRow)
{
    AddAppPathsEntry(L"gone.exe", L"C:\\gone.exe");
    AddAppPathsEntry(L"kept.exe", L"C:\\kept.exe");
    Open();
    SelectTreeItem(L"System");
    ASSERT_EQ((Texts{L"gone", L"kept"}), SystemColumn(0));

    // Another program removed the entry meanwhile.
    ASSERT_TRUE(CRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"gone.exe")));
    DeleteRow(0, IDYES);
    EXPECT_EQ((Texts{TXT_SYSTEM_DELETE_WARNING, TXT_NO_COMMAND_DELETED}), boxes.Texts());
    EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[1].type & MB_TYPEMASK);
    EXPECT_EQ((Texts{L"gone", L"kept"}), SystemColumn(0));

    // Refused for lack of rights.
    AddAppPathsEntry(L"guarded.exe", L"C:\\guarded.exe");
    const std::wstring guarded = AppPathsEntryKey(L"guarded.exe");
    Services().registryAccess = [&](HKEY, const std::wstring& subkey, REGSAM access) {
        return !(subkey == guarded && access == kRegistryDeleteAccess);
    };
    Command(ID_SYSTEM_RELOAD);
    boxes.Clear();
    DeleteRow(RowWithPath(L"C:\\guarded.exe"), IDYES);
    EXPECT_EQ((Texts{TXT_SYSTEM_DELETE_WARNING, TXT_NO_COMMAND_DELETED}), boxes.Texts());
    EXPECT_TRUE(AppPathsEntryExists(L"guarded.exe"));
    EXPECT_EQ(2, List().GetItemCount());
    EXPECT_TRUE(ListAppPathsBackups().empty()); // nothing went, so no backup stays behind
}

// x.com is shown as "x"; deleting it must not take x.exe, another
// program's entry, which is what the shown name plus ".exe" would address.
TEST_F(SystemPageTest, DeleteAddressesTheRowsOwnKey)
{
    AddAppPathsEntry(L"x.com", L"C:\\Tools\\x.com");
    AddAppPathsEntry(L"x.exe", L"C:\\Other\\x.exe");
    AddAppPathsEntry(L"a.b", L"C:\\a.b");
    Open();
    SelectTreeItem(L"System");
    ASSERT_EQ((Texts{L"a.b", L"x", L"x"}), SystemColumn(0));

    DeleteRow(RowWithPath(L"C:\\Tools\\x.com"), IDYES);
    EXPECT_FALSE(AppPathsEntryExists(L"x.com"));
    EXPECT_TRUE(AppPathsEntryExists(L"x.exe"));
    EXPECT_EQ((Texts{L"C:\\a.b", L"C:\\Other\\x.exe"}), SystemColumn(1));

    // Rows after a deleted one still address their own keys.
    DeleteRow(RowWithPath(L"C:\\Other\\x.exe"), IDYES);
    EXPECT_FALSE(AppPathsEntryExists(L"x.exe"));
    DeleteRow(0, IDYES);
    EXPECT_FALSE(AppPathsEntryExists(L"a.b"));
    EXPECT_EQ(0, List().GetItemCount());
    EXPECT_EQ(3u, boxes.Boxes().size()); // no failure message on the way
}

TEST_F(SystemPageTest, TheUsersOwnEntriesAreListedAfterTheMachinesAndDeletedWithoutRights)
{
    AddAppPathsEntry(L"tool.exe", L"C:\\Tools\\tool.exe");
    WriteStringValue(HKEY_CURRENT_USER, AppPathsEntryKey(L"mine.exe"), L"", L"C:\\Mine\\mine.exe"s);
    WriteStringValue(HKEY_CURRENT_USER, AppPathsEntryKey(L"ours.exe"), L"",
                     folder.Cmds() + L"\\run_ours.lnk"); // one of ours: skipped
    WriteFileBytes(folder.Cmds() + L"\\run_ours.lnk", "shortcut");
    Open();
    SelectTreeItem(L"System");
    EXPECT_EQ((Texts{L"tool", L"mine"}), SystemColumn(0));
    EXPECT_EQ((Texts{L"All users", L"Just me"}), SystemColumn(2));
    EXPECT_EQ(L"2 system command(s)", Pane(3));

    // No rights on the machine's key: the user's entry goes all the same.
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM access) {
        return !(root == HKEY_LOCAL_MACHINE && access == kRegistryDeleteAccess);
    };
    DeleteRow(1, IDYES);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, AppPathsEntryKey(L"mine.exe")));
    EXPECT_TRUE(AppPathsEntryExists(L"tool.exe"));
    EXPECT_EQ(Texts{L"tool"}, SystemColumn(0));
}


namespace {

RegKey EntryTree(const std::wstring& keyName)
{
    RegKey tree;
    EXPECT_EQ(ERROR_SUCCESS,
              CaptureKeyTree(HKEY_LOCAL_MACHINE, ToUtf16(AppPathsEntryKey(keyName)), tree));
    return tree;
}

} // namespace

// Each delete saves the whole key first, so a key goes with its subkeys;
// "Restore deleted..." lists the backups and puts the chosen one back.
TEST_F(SystemPageTest, DeletedEntriesComeBackWholeThroughRestoreDeleted)
{
    AddAppPathsEntry(L"tool.exe", L"C:\\tool.exe");
    WriteStringValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"tool.exe"), L"Path", L"%TOOLS%", REG_EXPAND_SZ);
    WriteRawValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"tool.exe"), L"UseUrl", REG_DWORD, "\1\0\0\0"s);
    AddBareAppPathsEntry(L"tool.exe\\SupportedTypes");
    AddAppPathsEntry(L"alpha.exe", L"C:\\alpha.exe");
    const RegKey before = EntryTree(L"tool.exe");
    Open();
    SelectTreeItem(L"System");
    DeleteRow(RowWithPath(L"C:\\tool.exe"), IDYES);
    EXPECT_FALSE(AppPathsEntryExists(L"tool.exe"));
    EXPECT_EQ((Texts{L"alpha"}), SystemColumn(0));
    EXPECT_EQ(1u, boxes.Boxes().size()); // the warning alone

    std::vector<Texts> shown;
    Services().modalDialog = [&](CDialog& dialog) {
        ASSERT_EQ(UINT(IDD_RESTORE_BACKUP), dialog.GetTemplateId());
        const CListCtrl& rows = static_cast<CRestoreDlg&>(dialog).List();
        for (int row = 0; row < rows.GetItemCount(); ++row)
            shown.push_back({rows.GetItemText(row, 0), rows.GetItemText(row, 1), rows.GetItemText(row, 2)});
        Press(dialog, IDOK); // the newest, chosen from the start
        if (!dialog.IsEnded())
            shown.push_back({L"still open"});
    };
    Command(ID_SYSTEM_RESTORE);
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"tool.exe", shown[0][0]);
    EXPECT_EQ(L"All users", shown[0][1]);
    EXPECT_NE(L"", shown[0][2]);
    EXPECT_EQ(before, EntryTree(L"tool.exe"));
    EXPECT_EQ((Texts{L"alpha", L"tool"}), SystemColumn(0));
    EXPECT_EQ(1, List().GetFirstSelected());
    EXPECT_EQ(1u, boxes.Boxes().size()); // restored without a question

    // There again: asked first; No changes nothing and keeps the dialog open.
    WriteStringValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"tool.exe"), L"", L"C:\\newer.exe");
    const RegKey newer = EntryTree(L"tool.exe");
    shown.clear();
    boxes.Answer(IDNO);
    Command(ID_SYSTEM_RESTORE);
    EXPECT_EQ((Texts{L"still open"}), shown.back());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[1].type & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ(0u, boxes.Boxes()[1].text.find(L"An entry named tool.exe exists again (All users)."));
    EXPECT_EQ(newer, EntryTree(L"tool.exe"));

    boxes.Answer(IDYES); // replaced, and what was there is kept in a backup of its own
    Command(ID_SYSTEM_RESTORE);
    EXPECT_EQ(before, EntryTree(L"tool.exe"));
    EXPECT_EQ(2u, ListAppPathsBackups().size());
}

TEST_F(SystemPageTest, WithoutABackupOrAdministratorRightsNothingChanges)
{
    AddAppPathsEntry(L"tool.exe", L"C:\\tool.exe");
    Open();
    SelectTreeItem(L"System");
    // The backup folder cannot be made: a file holds its name.
    CreateDirectoryW((folder.Path() + L"\\ProgramData").c_str(), nullptr);
    CreateDirectoryW((folder.Path() + L"\\ProgramData\\Verbosa").c_str(), nullptr);
    WriteFileBytes(folder.MachineBackups(), "in the way");
    DeleteRow(0, IDYES);
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[1].text.find(TXT_BACKUP_NOT_SAVED));
    EXPECT_NE(std::wstring::npos, boxes.Boxes()[1].text.find(folder.MachineBackups()));
    EXPECT_TRUE(AppPathsEntryExists(L"tool.exe"));
    EXPECT_EQ((Texts{L"tool"}), SystemColumn(0));

    DeleteFileW(folder.MachineBackups().c_str());
    DeleteRow(0, IDYES);
    ASSERT_FALSE(AppPathsEntryExists(L"tool.exe"));
    boxes.Clear();
    Services().processElevated = [] { return false; };
    bool ended = true;
    Services().modalDialog = [&](CDialog& dialog) {
        Press(dialog, IDOK);
        ended = dialog.IsEnded();
    };
    Command(ID_SYSTEM_RESTORE);
    EXPECT_FALSE(ended);
    EXPECT_EQ((Texts{NeedsAdministratorText(TXT_ACTION_RESTORE_MACHINE_ENTRY)}), boxes.Texts());
    EXPECT_FALSE(AppPathsEntryExists(L"tool.exe"));
}

// One entry of each kind; the pass tells each row's status after the load
// and the count adds the broken ones. Network paths are never probed.
TEST_F(SystemPageTest, StatusColumnTellsWhatIsWrongWithEachEntry)
{
    const std::wstring tool = folder.Path() + L"\\tool.exe";
    WriteFileBytes(tool, "MZ");
    SetEnvironmentVariableW(L"VERBOSA_TEST_TOOLS", folder.Path().c_str());
    AddAppPathsEntry(L"fine.exe", L"\"" + tool + L"\"");
    AddAppPathsEntry(L"gone.exe", folder.Path() + L"\\gone.exe");
    AddAppPathsEntry(L"nofolder.exe", tool);
    WriteStringValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"nofolder.exe"), L"Path",
                     L"\"" + folder.Path() + L"\"; " + folder.Path() + L"\\missing");
    AddAppPathsEntry(L"empty.exe", L"");
    WriteStringValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"expanded.exe"), L"", L"%VERBOSA_TEST_TOOLS%\\tool.exe",
                     REG_EXPAND_SZ);
    AddAppPathsEntry(L"share.exe", L"\\\\server\\share\\app.exe");
    AddAppPathsEntry(L"orphan.exe", folder.Cmds() + L"\\run_orphan.lnk");
    AddAppPathsEntry(L"sound.exe", folder.Cmds() + L"\\run_sound.lnk");
    WriteFileBytes(folder.Cmds() + L"\\run_sound.lnk", "shortcut");
    Open();
    SelectTreeItem(L"System");
    EXPECT_EQ(L"7 system command(s)", Pane(3)); // the broken ones once known
    WaitForStatuses();
    SetEnvironmentVariableW(L"VERBOSA_TEST_TOOLS", nullptr);

    EXPECT_EQ((Texts{L"empty", L"expanded", L"fine", L"gone", L"nofolder", L"orphan", L"share"}), SystemColumn(0));
    EXPECT_EQ((Texts{L"No target", L"", L"", L"Target missing", L"Folder missing", L"Shortcut missing",
                     L"Not checked (network)"}),
              SystemColumn(3));
    EXPECT_EQ(L"7 system command(s), 4 broken", Pane(3));

    // A header click sorts by its column, the same one again reverses;
    // equal texts keep the registry's order.
    ClickHeader(3);
    EXPECT_EQ((Texts{L"expanded", L"fine", L"nofolder", L"empty", L"share", L"orphan", L"gone"}), SystemColumn(0));
    ClickHeader(3);
    EXPECT_EQ((Texts{L"gone", L"orphan", L"share", L"empty", L"nofolder", L"expanded", L"fine"}), SystemColumn(0));
    ClickHeader(1);
    EXPECT_EQ(L"empty", SystemColumn(0)[0]);
    // A delete keeps the count true.
    DeleteRow(RowWithText(List(), 0, L"gone"), IDYES);
    Notify(IDC_SYSTEM_LIST, LVN_HOTTRACK);
    EXPECT_EQ(L"6 system command(s), 3 broken", Pane(3));
}

namespace {

RegKey UserEntryTree(const std::wstring& keyName)
{
    RegKey tree;
    EXPECT_EQ(ERROR_SUCCESS, CaptureKeyTree(HKEY_CURRENT_USER, ToUtf16(AppPathsEntryKey(keyName)), tree));
    return tree;
}

struct CleanUpRow {
    std::wstring name, status;
    bool ticked;
};

std::vector<CleanUpRow> CleanUpRows(const CCleanUpDlg& dialog)
{
    std::vector<CleanUpRow> rows;
    for (int row = 0; row < dialog.List().GetItemCount(); ++row)
        rows.push_back({dialog.List().GetItemText(row, 0), dialog.List().GetItemText(row, 3), dialog.IsTicked(row)});
    return rows;
}

void Tick(const CListCtrl& list, int row, bool ticked)
{
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    list.Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

} // namespace

// The clean-up removes exactly the ticked entries, each backed up first; one
// whose backup cannot be made stays and is named; the whole clean-up comes
// back at once, each entry exactly as it was.
TEST_F(SystemPageTest, RemoveBrokenEntriesBacksUpAndDeletesTheTickedOnes)
{
    AddAppPathsEntry(L"fine.exe", L"C:\\windows\\notepad.exe"s);
    AddAppPathsEntry(L"stuck.exe", L"C:\\nowhere\\stuck.exe"); // its backup folder is blocked
    const auto user = [](const std::wstring& name, const std::wstring& target) {
        WriteStringValue(HKEY_CURRENT_USER, AppPathsEntryKey(name), L"", target);
    };
    user(L"gone.exe", L"C:\\nowhere\\gone.exe");
    WriteRawValue(HKEY_CURRENT_USER, AppPathsEntryKey(L"gone.exe"), L"UseUrl", REG_DWORD, "\1\0\0\0"s);
    CreateKey(HKEY_CURRENT_USER, AppPathsEntryKey(L"gone.exe\\SupportedTypes"));
    user(L"empty.exe", L"");
    user(L"keep.exe", L"C:\\nowhere\\keep.exe");
    user(L"revived.exe", folder.Path() + L"\\revived.exe"); // reinstalled while the dialog is open
    user(L"orphan.exe", folder.Cmds() + L"\\run_orphan.lnk");
    user(L"folderless.exe", L"C:\\windows\\notepad.exe");
    WriteStringValue(HKEY_CURRENT_USER, AppPathsEntryKey(L"folderless.exe"), L"Path", L"C:\\nowhere");
    const RegKey gone = UserEntryTree(L"gone.exe"), empty = UserEntryTree(L"empty.exe"),
                 orphan = UserEntryTree(L"orphan.exe");
    CreateDirectoryW((folder.Path() + L"\\ProgramData").c_str(), nullptr);
    CreateDirectoryW((folder.Path() + L"\\ProgramData\\Verbosa").c_str(), nullptr);
    WriteFileBytes(folder.MachineBackups(), "in the way");
    Open();
    SelectTreeItem(L"System");
    WaitForStatuses();

    std::vector<CleanUpRow> offered;
    Services().modalDialog = [&](CDialog& dialog) {
        ASSERT_EQ(UINT(IDD_CLEAN_UP), dialog.GetTemplateId());
        const auto& cleanUp = static_cast<CCleanUpDlg&>(dialog);
        offered = CleanUpRows(cleanUp);
        Tick(cleanUp.List(), RowWithText(cleanUp.List(), 0, L"keep"), false);
        WriteFileBytes(folder.Path() + L"\\revived.exe", "MZ");
        Press(dialog, IDOK);
    };
    Command(ID_SYSTEM_CLEAN_UP);
    ASSERT_EQ(6u, offered.size()); // not the sound one, nor the one missing a folder only
    for (const CleanUpRow& row : offered)
        EXPECT_TRUE(row.ticked) << row.name;
    EXPECT_EQ(L"Target missing", offered[0].status);
    EXPECT_EQ(L"stuck", offered[0].name);

    EXPECT_TRUE(AppPathsEntryExists(L"stuck.exe"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, AppPathsEntryKey(L"keep.exe")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, AppPathsEntryKey(L"revived.exe")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, AppPathsEntryKey(L"folderless.exe")));
    for (const wchar_t* name : {L"gone.exe", L"empty.exe", L"orphan.exe"})
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, AppPathsEntryKey(name))) << name;
    ASSERT_EQ(1u, boxes.Boxes().size());
    const std::wstring summary = boxes.Boxes()[0].text;
    EXPECT_EQ(0u, summary.find(L"Removed 3 entry(s), each saved to a backup first.\n\nNot removed, because no "
                               L"backup could be made:\nstuck.exe (All users): "));
    EXPECT_NE(std::wstring::npos, summary.find(L"\n\nNot removed:\nrevived.exe (Just me): it is no longer broken"));
    EXPECT_EQ((Texts{L"fine", L"stuck", L"folderless", L"keep", L"revived"}), SystemColumn(0));

    // The three backups share a time, so they stand together; all three
    // chosen come back at once.
    std::vector<std::wstring> times;
    Services().modalDialog = [&](CDialog& dialog) {
        const CListCtrl& rows = static_cast<CRestoreDlg&>(dialog).List();
        for (int row = 0; row < rows.GetItemCount(); ++row) {
            times.push_back(rows.GetItemText(row, 2));
            rows.SelectItem(row);
        }
        Press(dialog, IDOK);
    };
    Command(ID_SYSTEM_RESTORE);
    ASSERT_EQ(3u, times.size());
    EXPECT_EQ(times[0], times[2]);
    EXPECT_EQ(gone, UserEntryTree(L"gone.exe"));
    EXPECT_EQ(empty, UserEntryTree(L"empty.exe"));
    EXPECT_EQ(orphan, UserEntryTree(L"orphan.exe"));
}

// Without administrator rights the machine's broken entries are shown
// greyed and unticked with the reason, and cannot be ticked.
TEST_F(SystemPageTest, RemoveBrokenEntriesGreysTheMachinesWithoutRights)
{
    AddAppPathsEntry(L"stuck.exe", L"C:\\nowhere\\stuck.exe");
    WriteStringValue(HKEY_CURRENT_USER, AppPathsEntryKey(L"gone.exe"), L"", L"C:\\nowhere\\gone.exe"s);
    Services().processElevated = [] { return false; };
    Open();
    SelectTreeItem(L"System");
    Command(ID_SYSTEM_CLEAN_UP); // before the pass has ended: said, nothing shown
    EXPECT_EQ((Texts{TXT_CU_STILL_CHECKING}), boxes.Texts());
    WaitForStatuses();

    std::vector<CleanUpRow> offered;
    Services().modalDialog = [&](CDialog& dialog) {
        const auto& cleanUp = static_cast<CCleanUpDlg&>(dialog);
        Tick(cleanUp.List(), 0, true);
        offered = CleanUpRows(cleanUp);
        Press(dialog, IDOK);
    };
    Command(ID_SYSTEM_CLEAN_UP);
    ASSERT_EQ(2u, offered.size());
    EXPECT_FALSE(offered[0].ticked);
    EXPECT_EQ(L"Target missing - needs administrator rights", offered[0].status);
    EXPECT_TRUE(offered[1].ticked);
    EXPECT_TRUE(AppPathsEntryExists(L"stuck.exe"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, AppPathsEntryKey(L"gone.exe")));
}
