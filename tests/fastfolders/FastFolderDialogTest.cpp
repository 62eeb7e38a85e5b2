// The Add/Edit Folder dialog and the main window's Fast Folders handlers,
// in process under Wine and Xvfb against a scratch registry.
#include "tests/app/MainWindowFixture.h"

#include "catalogue/FolderBrowser.h"
#include "fastfolders/FastFolderStore.h"
#include "fastfolders/NewFastFolderDlg.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "resources/FastFolderIds.h"
#include "resources/Texts.h"
#include "tests/support/DialogDriver.h"

#include <htmlhelp.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

FastFolderWrite Add(const std::string& alias, const std::string& path)
{
    int blocked = -1;
    return AddFastFolder(alias, path, blocked);
}

class FastFolderWindowTest : public MainWindowTest {
protected:
    void SetUp() override { CreateKey(HKEY_CURRENT_USER, kFastFolderKey); }

    // A real folder under the scratch program folder.
    std::string MakeFolder(const std::string& name)
    {
        const std::string path = folder.Path() + "\\" + name;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
    void Store(const std::vector<std::pair<std::string, std::string>>& items)
    {
        for (const auto& [alias, path] : items)
            ASSERT_EQ(FastFolderWrite::done, Add(alias, path));
    }
    Texts Aliases() const { return ColumnTexts(window->FoldersPage().List(), 0); }
    Texts StoredAliases() const
    {
        std::string aliases[kMaxFastFolders];
        std::string paths[kMaxFastFolders];
        ReadFastFolders(kMaxFastFolders, aliases, paths);
        Texts texts;
        for (const auto& alias : aliases)
            if (!alias.empty())
                texts.push_back(alias);
        return texts;
    }
    static std::string StoredText(const std::string& name)
    {
        DWORD type = 0;
        std::string bytes;
        return ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, name, type, bytes) ? bytes : "<absent>";
    }
    void SelectRow(int row) const
    {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(window->FoldersPage().List().GetSafeHwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        SendMessageW(window->FoldersPage().List().GetSafeHwnd(), LVM_SETSELECTIONMARK, 0, row);
    }
    // Runs the Add dialog through the Add Folder button, driven by `drive`.
    int RunAdd(const std::function<void(CNewFastFolderDlg&)>& drive)
    {
        int opened = 0;
        CServicesGuard guard;
        Services().modalDialog = [&](CDialog& dialog) {
            ++opened;
            drive(static_cast<CNewFastFolderDlg&>(dialog));
        };
        Command(IDC_ADD_FOLDER);
        return opened;
    }
};

} // namespace

TEST_F(FastFolderWindowTest, AddChecksTheFieldsInOrderAndKeepsThemAsTyped)
{
    Open();
    const std::string docs = MakeFolder("Docs");
    RunAdd([&](CNewFastFolderDlg& dlg) {
        EXPECT_FALSE(dlg.IsEditMode());
        char title[64] = {};
        GetWindowTextA(dlg.GetSafeHwnd(), title, sizeof title);
        EXPECT_STREQ(TXT_FF_CAPTION_ADD, title);
        Press(dlg, IDOK);
        SetField(dlg, IDC_FF_ALIAS, "Docs");
        Press(dlg, IDOK);
        SetField(dlg, IDC_FF_PATH, "C:\\");
        Press(dlg, IDOK); // a drive root fails the folder test
        SetField(dlg, IDC_FF_PATH, docs + "\\missing");
        Press(dlg, IDOK);
        SetField(dlg, IDC_FF_ALIAS, std::string(260, 'a'));
        SetField(dlg, IDC_FF_PATH, docs + "\\\\");
        Press(dlg, IDOK);
        EXPECT_FALSE(dlg.IsEnded());
        EXPECT_EQ(docs + "\\\\", Field(dlg, IDC_FF_PATH)); // shown as typed
        EXPECT_EQ(260u, Field(dlg, IDC_FF_ALIAS).size());
    });
    EXPECT_EQ((Texts{TXT_ENTER_FASTFOLDER_ALIAS, TXT_ENTER_FASTFOLDER_PATH, TXT_NOT_A_FOLDER, TXT_NOT_A_FOLDER,
                     TXT_FF_TOO_LONG}),
              boxes.Texts());
    for (const auto& box : boxes.Boxes())
        EXPECT_EQ(UINT(MB_ICONINFORMATION), box.type & MB_ICONMASK) << box.text;
    EXPECT_EQ(0u, CountValues(HKEY_CURRENT_USER, kFastFolderKey));
}

TEST_F(FastFolderWindowTest, AddStoresTheTrimmedPathAndTheAliasAsTyped)
{
    Open();
    const std::string docs = MakeFolder("Docs");
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_ALIAS, "   ");
        SetField(dlg, IDC_FF_PATH, docs + "\\\\");
        Press(dlg, IDOK);
        EXPECT_TRUE(dlg.IsEnded());
        EXPECT_EQ(IDOK, dlg.GetResult());
    });
    EXPECT_TRUE(boxes.Texts().empty());
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "0", type, bytes));
    EXPECT_EQ(std::string("   ", 4), bytes);
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "00", type, bytes));
    EXPECT_EQ(docs + '\0', bytes);
    EXPECT_EQ((Texts{"   "}), Aliases());
    EXPECT_EQ(docs, window->FoldersPage().List().GetItemText(0, 1));
}

TEST_F(FastFolderWindowTest, AFailedStoreWriteIsReportedAndTheListShowsTheStore)
{
    Open();
    const std::string docs = MakeFolder("Docs");
    Services().registryAccess = [](HKEY, const std::wstring&, REGSAM access) { return (access & KEY_SET_VALUE) == 0; };
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_ALIAS, "Docs");
        SetField(dlg, IDC_FF_PATH, docs);
        Press(dlg, IDOK);
        EXPECT_TRUE(dlg.IsEnded());
    });
    Services().registryAccess = nullptr;
    EXPECT_EQ((Texts{TXT_FASTFOLDER_NOT_ADDED}), boxes.Texts());
    EXPECT_TRUE(Aliases().empty());
}

TEST_F(FastFolderWindowTest, AnUnreadableItemInTheWayIsNamedAndRemovedOnlyOnYes)
{
    const std::string docs = MakeFolder("Docs");
    Store({{"A", docs}});
    WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, "1", REG_SZ, std::string(300, 'l') + '\0');
    WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, "11", REG_SZ, docs + '\0');
    WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, "2", REG_SZ, "C"s + '\0');
    WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, "22", REG_SZ, docs + '\0');
    Open();
    EXPECT_EQ(Texts{"A"}, Aliases()); // the list stops where the menu does
    const std::string question = TXT_FF_BLOCKED_BEFORE + "1"s + TXT_FF_BLOCKED_AFTER;
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_ALIAS, "New");
        SetField(dlg, IDC_FF_PATH, docs);
        boxes.Answer(IDNO);
        Press(dlg, IDOK);
        EXPECT_FALSE(dlg.IsEnded()); // kept as typed
        EXPECT_EQ(6u, CountValues(HKEY_CURRENT_USER, kFastFolderKey));
        EXPECT_EQ(std::string(300, 'l') + '\0', StoredText("1"));
        boxes.Answer(IDYES);
        Press(dlg, IDOK);
        EXPECT_TRUE(dlg.IsEnded());
    });
    EXPECT_EQ((Texts{question, question}), boxes.Texts());
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type);
    EXPECT_EQ((Texts{"A", "C", "New"}), Aliases());
    EXPECT_EQ(6u, CountValues(HKEY_CURRENT_USER, kFastFolderKey));
}

TEST_F(FastFolderWindowTest, TenRowsRefuseAddWithoutADialogAndNineOpenIt)
{
    const std::string docs = MakeFolder("Docs");
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(FastFolderWrite::done, Add("F" + std::to_string(i), docs));
    Open();
    EXPECT_EQ(1, RunAdd([](CNewFastFolderDlg&) {}));
    EXPECT_TRUE(boxes.Texts().empty());

    ASSERT_EQ(FastFolderWrite::done, Add("F9", docs));
    window->FoldersPage().RefreshFastFolderList();
    EXPECT_EQ(10, window->FoldersPage().List().GetItemCount());
    EXPECT_EQ(0, RunAdd([](CNewFastFolderDlg&) {}));
    EXPECT_EQ((Texts{TXT_FASTFOLDER_MAXIMUM}), boxes.Texts());
    EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.Boxes()[0].type & MB_ICONMASK);
}

TEST_F(FastFolderWindowTest, EditingMovesTheItemToTheEnd)
{
    const std::string a = MakeFolder("A"), b = MakeFolder("B"), c = MakeFolder("C");
    Store({{"A", a}, {"B", b}, {"C", c}});
    Open();
    SelectRow(0);
    CServicesGuard guard;
    Services().modalDialog = [&](CDialog& dialog) {
        auto& dlg = static_cast<CNewFastFolderDlg&>(dialog);
        ShowWindow(dlg.GetSafeHwnd(), SW_SHOW); // what the modal loop does
        EXPECT_TRUE(dlg.IsEditMode());
        EXPECT_EQ("A", Field(dlg, IDC_FF_ALIAS));
        EXPECT_EQ(a, Field(dlg, IDC_FF_PATH));
        char title[64] = {};
        GetWindowTextA(dlg.GetSafeHwnd(), title, sizeof title);
        EXPECT_STREQ(TXT_FF_CAPTION_EDIT, title);
        Press(dlg, IDOK);
    };
    EXPECT_EQ(0, Notify(IDC_FOLDER_LIST, NM_DBLCLK));
    EXPECT_EQ((Texts{"B", "C", "A"}), Aliases());
    EXPECT_EQ((Texts{"B", "C", "A"}), StoredAliases());
    EXPECT_EQ(6u, CountValues(HKEY_CURRENT_USER, kFastFolderKey));
}

TEST_F(FastFolderWindowTest, EditAndDeleteDoNothingWithoutASelection)
{
    Store({{"A", "C:\\A"}});
    Open();
    int opened = 0;
    CServicesGuard guard;
    Services().modalDialog = [&](CDialog&) { ++opened; };
    Command(ID_FOLDER_EDIT);
    Command(IDC_REMOVE_FOLDER);
    EXPECT_EQ(0, opened);
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(FastFolderWindowTest, DeleteAsksAndOnYesRenumbers)
{
    Store({{"A", "C:\\A"}, {"Docs", "C:\\Docs"}, {"C", "C:\\C"}});
    Open();
    SelectRow(1);
    boxes.Answer(IDNO);
    Command(IDC_REMOVE_FOLDER);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Do you want to delete the Fast Folder alias: Docs?", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ((Texts{"A", "Docs", "C"}), Aliases());

    boxes.Clear();
    boxes.Answer(IDYES);
    Command(ID_FOLDER_DELETE);
    EXPECT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ((Texts{"A", "C"}), Aliases());
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "1", type, bytes));
    EXPECT_EQ(std::string("C", 2), bytes);
    EXPECT_FALSE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "2", type, bytes));
}

// The shell extension reads the store at any time and stops at nothing: after
// every add, edit and delete the items are 0..n-1 with both values each.
TEST_F(FastFolderWindowTest, EveryHandlerLeavesTheIndicesWithoutAGap)
{
    const auto expectNoGap = [](size_t count, const char* step) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kFastFolderKey, 0, KEY_READ, &key));
        std::vector<std::string> names;
        char name[64];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        RegCloseKey(key);
        std::vector<std::string> expected;
        for (size_t i = 0; i < count; ++i) {
            expected.push_back(std::to_string(i));
            expected.push_back(std::to_string(i) + std::to_string(i));
        }
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, names) << step;
    };
    const auto editRow = [&](int row, const std::string& alias) {
        SelectRow(row);
        CServicesGuard guard;
        Services().modalDialog = [&](CDialog& dialog) {
            SetField(dialog, IDC_FF_ALIAS, alias);
            Press(dialog, IDOK);
        };
        Command(ID_FOLDER_EDIT);
    };
    const auto deleteRow = [&](int row) {
        SelectRow(row);
        boxes.Answer(IDYES);
        Command(IDC_REMOVE_FOLDER);
    };
    const std::string target = MakeFolder("T");
    Open();
    for (const char* alias : {"A", "B", "C", "D"})
        RunAdd([&](CNewFastFolderDlg& dlg) {
            SetField(dlg, IDC_FF_ALIAS, alias);
            SetField(dlg, IDC_FF_PATH, target);
            Press(dlg, IDOK);
        });
    expectNoGap(4, "after four adds");
    editRow(1, "B2");
    expectNoGap(4, "after editing the second");
    deleteRow(0);
    expectNoGap(3, "after deleting the first");
    editRow(2, "B3");
    expectNoGap(3, "after editing the last");
    deleteRow(1);
    expectNoGap(2, "after deleting the middle");
    deleteRow(1);
    deleteRow(0);
    expectNoGap(0, "after deleting the rest");
    EXPECT_TRUE(Aliases().empty());
}

TEST_F(FastFolderWindowTest, AFailedDeleteIsReportedAndTheListIsStillRebuilt)
{
    Store({{"A", "C:\\A"}});
    Open();
    SelectRow(0);
    DeleteFastFolder("0"); // gone behind the window's back
    boxes.Answer(IDYES);
    Command(IDC_REMOVE_FOLDER);
    EXPECT_EQ((Texts{"Do you want to delete the Fast Folder alias: A?", TXT_NO_FASTFOLDER_DELETED}), boxes.Texts());
    EXPECT_TRUE(Aliases().empty());
}

TEST_F(FastFolderWindowTest, BrowseRetriesUntilAFolderAndCancelKeepsTheField)
{
    Open();
    const std::string docs = MakeFolder("Docs");
    std::vector<std::string> titles;
    std::vector<UINT> flags;
    int call = 0;
    Services().browseForFolder = [&](BROWSEINFOA& info) -> PIDLIST_ABSOLUTE {
        titles.push_back(info.lpszTitle);
        flags.push_back(info.ulFlags);
        EXPECT_EQ(nullptr, info.pidlRoot);
        ++call;
        if (call == 1) {
            PIDLIST_ABSOLUTE drives = nullptr; // My Computer: no file-system path
            SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives);
            return drives;
        }
        if (call == 2)
            return ILCreateFromPathA(docs.c_str());
        return nullptr; // cancelled
    };
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_PATH, "typed");
        Press(dlg, IDC_FF_BROWSE);
        EXPECT_EQ(docs, Field(dlg, IDC_FF_PATH));
        Press(dlg, IDC_FF_BROWSE);
        EXPECT_EQ(docs, Field(dlg, IDC_FF_PATH));
    });
    EXPECT_EQ(3, call);
    EXPECT_EQ((Texts{TXT_CHOOSE_VALID_FOLDER}), boxes.Texts());
    for (size_t i = 0; i < titles.size(); ++i) {
        EXPECT_STREQ(TXT_FF_FOLDER_TITLE, titles[i].c_str());
        EXPECT_EQ(UINT(BIF_NEWDIALOGSTYLE), flags[i]);
    }
}

// The editor's owner as far as the editor sees it.
struct CRecordingFolderHost : IFolderEditorHost {
    Texts tips;
    void SetStatusTip(const std::string& text) override { tips.push_back(text); }
    void RefreshFastFolderList() override { tips.push_back("<rebuilt>"); }
};

TEST_F(FastFolderWindowTest, FieldsShowTheirTipsAndHelpOpensOnTheIconAndF1)
{
    CRecordingFolderHost host;
    CNewFastFolderDlg editor(host);
    ASSERT_TRUE(editor.Create(nullptr, true));
    EXPECT_EQ((Texts{TXT_FF_TIP_ALIAS}), host.tips); // the first field has the focus
    host.tips.clear();
    CNewFastFolderDlg& dlg = editor;
    SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_FF_PATH, EN_SETFOCUS),
                 reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FF_PATH)));
    SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_FF_ALIAS, EN_SETFOCUS),
                 reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FF_ALIAS)));
    EXPECT_EQ((Texts{TXT_FF_TIP_PATH, TXT_FF_TIP_ALIAS}), host.tips);

    SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_FF_HELP, STN_CLICKED),
                 reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FF_HELP)));
    ASSERT_EQ(1u, help.size());
    EXPECT_EQ(AnsiToWide(folder.Path() + "\\quillon.chm::/Creating_A_Fast_Folder.htm"), help[0].path);
    EXPECT_EQ(UINT(HH_DISPLAY_TOPIC), help[0].command);

    MSG f1{dlg.GetDlgItem(IDC_FF_ALIAS), kWmKeyF1, 0, 0, 0, {}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&f1)); // consumed
    EXPECT_EQ(2u, help.size());

    {
        CShiftHeld shift;
        dlg.PreTranslateMessage(&f1);
    }
    EXPECT_EQ(2u, help.size());
}

TEST(FastFolderRules, BothTextsMustFitTheStore)
{
    EXPECT_TRUE(FitsFastFolderStore(std::string(259, 'a'), std::string(259, 'p')));
    EXPECT_FALSE(FitsFastFolderStore(std::string(260, 'a'), "C:\\"));
    EXPECT_FALSE(FitsFastFolderStore("a", std::string(260, 'p')));
}
