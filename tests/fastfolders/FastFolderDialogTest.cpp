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

FastFolderWrite Add(const std::wstring& alias, const std::wstring& path)
{
    int blocked = -1;
    return AddFastFolder(alias, path, blocked);
}

class FastFolderWindowTest : public MainWindowTest {
protected:
    void SetUp() override { CreateKey(HKEY_CURRENT_USER, FastFolderKey()); }

    // A real folder under the scratch program folder.
    std::wstring MakeFolder(const std::wstring& name)
    {
        const std::wstring path = folder.Path() + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    void Store(const std::vector<std::pair<std::wstring, std::wstring>>& items)
    {
        for (const auto& [alias, path] : items)
            ASSERT_EQ(FastFolderWrite::done, Add(alias, path));
    }
    Texts Aliases() const { return ColumnTexts(window->FoldersPage().List(), 0); }
    Texts StoredAliases() const
    {
        std::wstring aliases[kMaxFastFolders];
        std::wstring paths[kMaxFastFolders];
        ReadFastFolders(kMaxFastFolders, aliases, paths);
        Texts texts;
        for (const auto& alias : aliases)
            if (!alias.empty())
                texts.push_back(alias);
        return texts;
    }
    static std::string StoredText(const std::wstring& name)
    {
        DWORD type = 0;
        std::string bytes;
        return ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), name, type, bytes) ? bytes : "<absent>";
    }
    void SelectRow(int row) const
    {
        LVITEMW item{};
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
    const std::wstring docs = MakeFolder(L"Docs");
    RunAdd([&](CNewFastFolderDlg& dlg) {
        EXPECT_FALSE(dlg.IsEditMode());
        EXPECT_EQ(TXT_FF_CAPTION_ADD, Caption(dlg));
        Press(dlg, IDOK);
        SetField(dlg, IDC_FF_ALIAS, L"Docs");
        Press(dlg, IDOK);
        SetField(dlg, IDC_FF_PATH, L"C:\\");
        Press(dlg, IDOK); // a drive root fails the folder test
        SetField(dlg, IDC_FF_PATH, docs + L"\\missing");
        Press(dlg, IDOK);
        SetField(dlg, IDC_FF_ALIAS, std::wstring(260, L'a'));
        SetField(dlg, IDC_FF_PATH, docs + L"\\\\");
        Press(dlg, IDOK);
        EXPECT_FALSE(dlg.IsEnded());
        EXPECT_EQ(docs + L"\\\\", Field(dlg, IDC_FF_PATH)); // shown as typed
        EXPECT_EQ(260u, Field(dlg, IDC_FF_ALIAS).size());
    });
    EXPECT_EQ((Texts{TXT_ENTER_FASTFOLDER_ALIAS, TXT_ENTER_FASTFOLDER_PATH, TXT_NOT_A_FOLDER, TXT_NOT_A_FOLDER,
                     TXT_FF_TOO_LONG}),
              boxes.Texts());
    for (const auto& box : boxes.Boxes())
        EXPECT_EQ(UINT(MB_ICONINFORMATION), box.type & MB_ICONMASK) << box.text;
    EXPECT_EQ(0u, CountValues(HKEY_CURRENT_USER, FastFolderKey()));
}

TEST_F(FastFolderWindowTest, AddStoresTheTrimmedPathAndTheAliasAsTyped)
{
    Open();
    const std::wstring docs = MakeFolder(L"Docs");
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_ALIAS, L"   ");
        SetField(dlg, IDC_FF_PATH, docs + L"\\\\");
        Press(dlg, IDOK);
        EXPECT_TRUE(dlg.IsEnded());
        EXPECT_EQ(IDOK, dlg.GetResult());
    });
    EXPECT_TRUE(boxes.Texts().empty());
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"0", type, bytes));
    EXPECT_EQ(TextBytes(L"   "), bytes);
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"00", type, bytes));
    EXPECT_EQ(TextBytes(docs), bytes);
    EXPECT_EQ((Texts{L"   "}), Aliases());
    EXPECT_EQ(docs, window->FoldersPage().List().GetItemText(0, 1));
}

TEST_F(FastFolderWindowTest, AFailedStoreWriteIsReportedAndTheListShowsTheStore)
{
    Open();
    const std::wstring docs = MakeFolder(L"Docs");
    Services().registryAccess = [](HKEY, const std::wstring&, REGSAM access) { return (access & KEY_SET_VALUE) == 0; };
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_ALIAS, L"Docs");
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
    const std::wstring docs = MakeFolder(L"Docs");
    Store({{L"A", docs}});
    WriteStringValue(HKEY_CURRENT_USER, FastFolderKey(), L"1", std::wstring(300, L'l'));
    WriteStringValue(HKEY_CURRENT_USER, FastFolderKey(), L"11", docs);
    WriteStringValue(HKEY_CURRENT_USER, FastFolderKey(), L"2", L"C"s);
    WriteStringValue(HKEY_CURRENT_USER, FastFolderKey(), L"22", docs);
    Open();
    EXPECT_EQ(Texts{L"A"}, Aliases()); // the list stops where the menu does
    const std::wstring question = TXT_FF_BLOCKED_BEFORE + L"1"s + TXT_FF_BLOCKED_AFTER;
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_ALIAS, L"New");
        SetField(dlg, IDC_FF_PATH, docs);
        boxes.Answer(IDNO);
        Press(dlg, IDOK);
        EXPECT_FALSE(dlg.IsEnded()); // kept as typed
        EXPECT_EQ(6u, CountValues(HKEY_CURRENT_USER, FastFolderKey()));
        EXPECT_EQ(TextBytes(std::wstring(300, L'l')), StoredText(L"1"));
        boxes.Answer(IDYES);
        Press(dlg, IDOK);
        EXPECT_TRUE(dlg.IsEnded());
    });
    EXPECT_EQ((Texts{question, question}), boxes.Texts());
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type);
    EXPECT_EQ((Texts{L"A", L"C", L"New"}), Aliases());
    EXPECT_EQ(6u, CountValues(HKEY_CURRENT_USER, FastFolderKey()));
}

TEST_F(FastFolderWindowTest, TenRowsRefuseAddWithoutADialogAndNineOpenIt)
{
    const std::wstring docs = MakeFolder(L"Docs");
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(FastFolderWrite::done, Add(L"F" + std::to_wstring(i), docs));
    Open();
    EXPECT_EQ(1, RunAdd([](CNewFastFolderDlg&) {}));
    EXPECT_TRUE(boxes.Texts().empty());

    ASSERT_EQ(FastFolderWrite::done, Add(L"F9", docs));
    window->FoldersPage().RefreshFastFolderList();
    EXPECT_EQ(10, window->FoldersPage().List().GetItemCount());
    EXPECT_EQ(0, RunAdd([](CNewFastFolderDlg&) {}));
    EXPECT_EQ((Texts{TXT_FASTFOLDER_MAXIMUM}), boxes.Texts());
    EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.Boxes()[0].type & MB_ICONMASK);
}

TEST_F(FastFolderWindowTest, EditingMovesTheItemToTheEnd)
{
    const std::wstring a = MakeFolder(L"A"), b = MakeFolder(L"B"), c = MakeFolder(L"C");
    Store({{L"A", a}, {L"B", b}, {L"C", c}});
    Open();
    SelectRow(0);
    CServicesGuard guard;
    Services().modalDialog = [&](CDialog& dialog) {
        auto& dlg = static_cast<CNewFastFolderDlg&>(dialog);
        ShowWindow(dlg.GetSafeHwnd(), SW_SHOW); // what the modal loop does
        EXPECT_TRUE(dlg.IsEditMode());
        EXPECT_EQ(L"A", Field(dlg, IDC_FF_ALIAS));
        EXPECT_EQ(a, Field(dlg, IDC_FF_PATH));
        EXPECT_EQ(TXT_FF_CAPTION_EDIT, Caption(dlg));
        Press(dlg, IDOK);
    };
    EXPECT_EQ(0, Notify(IDC_FOLDER_LIST, NM_DBLCLK));
    EXPECT_EQ((Texts{L"B", L"C", L"A"}), Aliases());
    EXPECT_EQ((Texts{L"B", L"C", L"A"}), StoredAliases());
    EXPECT_EQ(6u, CountValues(HKEY_CURRENT_USER, FastFolderKey()));
}

TEST_F(FastFolderWindowTest, EditAndDeleteDoNothingWithoutASelection)
{
    Store({{L"A", L"C:\\A"}});
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
    Store({{L"A", L"C:\\A"}, {L"Docs", L"C:\\Docs"}, {L"C", L"C:\\C"}});
    Open();
    SelectRow(1);
    boxes.Answer(IDNO);
    Command(IDC_REMOVE_FOLDER);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"Do you want to delete the Fast Folder alias: Docs?", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ((Texts{L"A", L"Docs", L"C"}), Aliases());

    boxes.Clear();
    boxes.Answer(IDYES);
    Command(ID_FOLDER_DELETE);
    EXPECT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ((Texts{L"A", L"C"}), Aliases());
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"1", type, bytes));
    EXPECT_EQ(TextBytes(L"C"), bytes);
    EXPECT_FALSE(ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"2", type, bytes));
}

// The shell extension reads the store at any time and stops at nothing: after
// every add, edit and delete the items are 0..n-1 with both values each.
TEST_F(FastFolderWindowTest, EveryHandlerLeavesTheIndicesWithoutAGap)
{
    const auto expectNoGap = [](size_t count, const wchar_t* step) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, FastFolderKey().c_str(), 0, KEY_READ, &key));
        std::vector<std::wstring> names;
        wchar_t name[64];
        for (DWORD i = 0;; ++i) {
            DWORD length = 64;
            if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        RegCloseKey(key);
        std::vector<std::wstring> expected;
        for (size_t i = 0; i < count; ++i) {
            expected.push_back(std::to_wstring(i));
            expected.push_back(std::to_wstring(i) + std::to_wstring(i));
        }
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, names) << step;
    };
    const auto editRow = [&](int row, const std::wstring& alias) {
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
    const std::wstring target = MakeFolder(L"T");
    Open();
    for (const wchar_t* alias : {L"A", L"B", L"C", L"D"})
        RunAdd([&](CNewFastFolderDlg& dlg) {
            SetField(dlg, IDC_FF_ALIAS, alias);
            SetField(dlg, IDC_FF_PATH, target);
            Press(dlg, IDOK);
        });
    expectNoGap(4, L"after four adds");
    editRow(1, L"B2");
    expectNoGap(4, L"after editing the second");
    deleteRow(0);
    expectNoGap(3, L"after deleting the first");
    editRow(2, L"B3");
    expectNoGap(3, L"after editing the last");
    deleteRow(1);
    expectNoGap(2, L"after deleting the middle");
    deleteRow(1);
    deleteRow(0);
    expectNoGap(0, L"after deleting the rest");
    EXPECT_TRUE(Aliases().empty());
}

TEST_F(FastFolderWindowTest, AFailedDeleteIsReportedAndTheListIsStillRebuilt)
{
    Store({{L"A", L"C:\\A"}});
    Open();
    SelectRow(0);
    DeleteFastFolder(L"0"); // gone behind the window's back
    boxes.Answer(IDYES);
    Command(IDC_REMOVE_FOLDER);
    EXPECT_EQ((Texts{L"Do you want to delete the Fast Folder alias: A?", TXT_NO_FASTFOLDER_DELETED}), boxes.Texts());
    EXPECT_TRUE(Aliases().empty());
}

TEST_F(FastFolderWindowTest, BrowseRetriesUntilAFolderAndCancelKeepsTheField)
{
    Open();
    const std::wstring docs = MakeFolder(L"Docs");
    std::vector<std::wstring> titles;
    std::vector<UINT> flags;
    int call = 0;
    Services().browseForFolder = [&](BROWSEINFOW& info) -> PIDLIST_ABSOLUTE {
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
            return ILCreateFromPathW(docs.c_str());
        return nullptr; // cancelled
    };
    RunAdd([&](CNewFastFolderDlg& dlg) {
        SetField(dlg, IDC_FF_PATH, L"typed");
        Press(dlg, IDC_FF_BROWSE);
        EXPECT_EQ(docs, Field(dlg, IDC_FF_PATH));
        Press(dlg, IDC_FF_BROWSE);
        EXPECT_EQ(docs, Field(dlg, IDC_FF_PATH));
    });
    EXPECT_EQ(3, call);
    EXPECT_EQ((Texts{TXT_CHOOSE_VALID_FOLDER}), boxes.Texts());
    for (size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(TXT_FF_FOLDER_TITLE, titles[i]);
        EXPECT_EQ(UINT(BIF_NEWDIALOGSTYLE), flags[i]);
    }
}

// The editor's owner as far as the editor sees it.
struct CRecordingFolderHost : IFolderEditorHost {
    Texts tips;
    void SetStatusTip(const std::wstring& text) override { tips.push_back(text); }
    void RefreshFastFolderList() override { tips.push_back(L"<rebuilt>"); }
};

TEST_F(FastFolderWindowTest, FieldsShowTheirTipsAndHelpOpensOnTheIconAndF1)
{
    CRecordingFolderHost host;
    CNewFastFolderDlg editor(host);
    ASSERT_TRUE(editor.Create(nullptr, true));
    EXPECT_EQ((Texts{TXT_FF_TIP_ALIAS}), host.tips); // the first field has the focus
    host.tips.clear();
    CNewFastFolderDlg& dlg = editor;
    SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_FF_PATH, EN_SETFOCUS),
                 reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FF_PATH)));
    SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_FF_ALIAS, EN_SETFOCUS),
                 reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FF_ALIAS)));
    EXPECT_EQ((Texts{TXT_FF_TIP_PATH, TXT_FF_TIP_ALIAS}), host.tips);

    SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_FF_HELP, STN_CLICKED),
                 reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FF_HELP)));
    ASSERT_EQ(1u, help.size());
    EXPECT_EQ(folder.Path() + L"\\quillon.chm::/Creating_A_Fast_Folder.htm", help[0].path);
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
    EXPECT_TRUE(FitsFastFolderStore(std::wstring(259, L'a'), std::wstring(259, L'p')));
    EXPECT_FALSE(FitsFastFolderStore(std::wstring(260, L'a'), L"C:\\"s));
    EXPECT_FALSE(FitsFastFolderStore(L"a"s, std::wstring(260, L'p')));
}
