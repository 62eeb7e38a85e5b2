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
    AddAppPathsEntry(L"notes.exe", folder.Cmds() + L"\\run_notes.lnk"); // one of ours
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
                     folder.UserCmds() + L"\\run_ours.lnk"); // one of ours: skipped
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
