#include "tests/app/MainWindowFixture.h"

#include "catalogue/Commands.h"
#include "framework/AppInfo.h"
#include "framework/Services.h"
#include "resources/FastFolderIds.h"
#include "resources/NewCommandIds.h"
#include "resources/Texts.h"
#include "tests/support/DialogDriver.h"
#include "tests/systemcmds/AppPathsFixture.h"

#include <commctrl.h>
#include <htmlhelp.h>

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace {

TEST_F(MainWindowTest, SetUpBuildsTheTreeListsAndStatusBar)
{
    CMainDlg& dlg = Open();
    const CTreeCtrl& tree = dlg.Tree();
    EXPECT_EQ(5u, tree.GetCount());
    ExpectNoPageChosen();

    HTREEITEM commands = tree.GetRootItem();
    HTREEITEM special = tree.GetNextItem(commands, TVGN_NEXT);
    EXPECT_EQ(L"Commands", tree.GetItemText(commands));
    EXPECT_EQ(L"Special", tree.GetItemText(special));
    HTREEITEM mine = tree.GetNextItem(commands, TVGN_CHILD);
    HTREEITEM system = tree.GetNextItem(mine, TVGN_NEXT);
    HTREEITEM folders = tree.GetNextItem(special, TVGN_CHILD);
    EXPECT_EQ(L"My Commands", tree.GetItemText(mine));
    EXPECT_EQ(L"System", tree.GetItemText(system));
    EXPECT_EQ(L"Fast Folders", tree.GetItemText(folders));
    EXPECT_NE(0u, tree.GetItemState(commands, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_NE(0u, tree.GetItemState(special, TVIS_EXPANDED) & TVIS_EXPANDED);
    int image = -1, selected = -1;
    tree.GetItemImage(commands, image, selected);
    EXPECT_EQ(0, image);
    EXPECT_EQ(0, selected);
    tree.GetItemImage(folders, image, selected);
    EXPECT_EQ(1, image);
    EXPECT_EQ(2, selected);
    HIMAGELIST treeImages = reinterpret_cast<HIMAGELIST>(SendMessageW(tree.GetSafeHwnd(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    EXPECT_EQ(4, ImageList_GetImageCount(treeImages));

    for (const CListCtrl* list : {&dlg.CommandsPage().List(), &dlg.FoldersPage().List(), &dlg.SystemPage().List()}) {
        const DWORD ex = list->GetExtendedStyle();
        EXPECT_EQ(DWORD(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT), ex & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
        HIMAGELIST small = reinterpret_cast<HIMAGELIST>(list->Send(LVM_GETIMAGELIST, LVSIL_SMALL));
        ASSERT_NE(nullptr, small);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(small, &cx, &cy);
        EXPECT_EQ(16, cx);
        EXPECT_EQ(16, cy);
    }
    auto headings = [](const CListCtrl& list) {
        Texts texts;
        HWND header = reinterpret_cast<HWND>(list.Send(LVM_GETHEADER));
        for (int i = 0; i < Header_GetItemCount(header); ++i) {
            wchar_t text[64] = {};
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = 64;
            SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            texts.push_back(text);
        }
        return texts;
    };
    EXPECT_EQ((Texts{L"Command", L"Path", L"Parameter(s)", L"Scope"}), headings(dlg.CommandsPage().List()));
    EXPECT_EQ((Texts{L"Alias", L"Directory"}), headings(dlg.FoldersPage().List()));
    EXPECT_EQ((Texts{L"Command", L"Path", L"Scope", L"Status"}), headings(dlg.SystemPage().List()));

    int edges[4] = {};
    ASSERT_EQ(4, dlg.StatusBar().GetParts(4, edges));
    EXPECT_EQ(210, edges[0]);
    EXPECT_EQ(260, edges[1]);
    EXPECT_EQ(340, edges[2]);
    EXPECT_EQ(L"My Commands", Pane(0));
    EXPECT_EQ(L"::::::::::", Pane(1));
    EXPECT_EQ(L"", Pane(2));
    EXPECT_EQ(L"", Pane(3));
    EXPECT_NE(nullptr, dlg.StatusBar().GetIcon(0));
    EXPECT_NE(nullptr, dlg.StatusBar().GetIcon(3));
    EXPECT_EQ(0, GetDlgCtrlID(dlg.StatusBar().GetSafeHwnd()));

    // The four menu items with pictures.
    for (UINT id : {ID_FILE_NEW_COMMAND, ID_FILE_ADD_FOLDER, ID_OPTIONS_CONFIGURATION, ID_HELP_HELP}) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_CHECKMARKS;
        ASSERT_TRUE(GetMenuItemInfoW(GetMenu(Hwnd()), id, FALSE, &info)) << id;
        EXPECT_NE(nullptr, info.hbmpChecked) << id;
        EXPECT_EQ(info.hbmpChecked, info.hbmpUnchecked) << id;
    }
    // The window icon, big and small.
    EXPECT_NE(0, SendMessageW(Hwnd(), WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(0, SendMessageW(Hwnd(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(SendMessageW(Hwnd(), WM_GETICON, ICON_BIG, 0), SendMessageW(Hwnd(), WM_QUERYDRAGICON, 0, 0));
}

TEST_F(MainWindowTest, TreeSelectionSwitchesPagesAndWritesBothPanes)
{
    WriteCommandFile(L"notes", {"notes", "C:\\edit.exe", "", "1"});
    WriteCommandFile(L"docs", {"docs", "C:\\Docs", "", "1"});
    Open();
    EXPECT_TRUE(Shown(IDC_COMMAND_LIST));
    EXPECT_FALSE(Shown(IDC_FOLDER_LIST));

    SelectTreeItem(L"System");
    EXPECT_TRUE(Shown(IDC_SYSTEM_LIST));
    EXPECT_FALSE(Shown(IDC_COMMAND_LIST));
    EXPECT_FALSE(Shown(IDC_FOLDER_LIST));
    // The buttons of the page before stay shown, all four greyed.
    EXPECT_TRUE(Shown(IDC_NEW_COMMAND));
    EXPECT_TRUE(Shown(IDC_DELETE_COMMAND));
    EXPECT_FALSE(Shown(IDC_ADD_FOLDER));
    for (int id : {IDC_NEW_COMMAND, IDC_DELETE_COMMAND, IDC_ADD_FOLDER, IDC_REMOVE_FOLDER})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(L"System Commands", Pane(0));
    EXPECT_EQ(L"0 system command(s)", Pane(3));

    // "Commands" and "Special" keep the page in front.
    SelectTreeItem(L"Special");
    EXPECT_TRUE(Shown(IDC_SYSTEM_LIST));
    EXPECT_EQ(L"System Commands", Pane(0));
    EXPECT_EQ(L"0 system command(s)", Pane(3));

    SelectTreeItem(L"Fast Folders");
    EXPECT_TRUE(Shown(IDC_FOLDER_LIST));
    EXPECT_FALSE(Shown(IDC_SYSTEM_LIST));
    EXPECT_TRUE(Shown(IDC_ADD_FOLDER));
    EXPECT_TRUE(Shown(IDC_REMOVE_FOLDER));
    EXPECT_FALSE(Shown(IDC_NEW_COMMAND));
    EXPECT_FALSE(Shown(IDC_DELETE_COMMAND));
    EXPECT_TRUE(Enabled(IDC_ADD_FOLDER));
    EXPECT_TRUE(Enabled(IDC_REMOVE_FOLDER));
    EXPECT_EQ(L"Fast Folders", Pane(0));
    EXPECT_EQ(L"0 folder(s)", Pane(3));

    SelectTreeItem(L"Commands");
    EXPECT_TRUE(Shown(IDC_FOLDER_LIST));

    SelectTreeItem(L"My Commands");
    EXPECT_TRUE(Shown(IDC_COMMAND_LIST));
    EXPECT_TRUE(Shown(IDC_NEW_COMMAND));
    EXPECT_TRUE(Enabled(IDC_NEW_COMMAND));
    EXPECT_TRUE(Enabled(IDC_DELETE_COMMAND));
    EXPECT_FALSE(Shown(IDC_ADD_FOLDER));
    EXPECT_EQ(L"My Commands", Pane(0));
    EXPECT_EQ(L"2 command(s)", Pane(3));
}

TEST_F(MainWindowTest, MenuCommandsBringTheirPageForwardWithoutTouchingTreeOrCountPane)
{
    Open();
    Command(ID_FILE_ADD_FOLDER);
    EXPECT_TRUE(Shown(IDC_FOLDER_LIST));
    EXPECT_EQ(L"Fast Folders", Pane(0));
    Command(ID_FILE_NEW_COMMAND);
    EXPECT_TRUE(Shown(IDC_COMMAND_LIST));
    EXPECT_FALSE(Shown(IDC_FOLDER_LIST));
    EXPECT_EQ(L"My Commands", Pane(0));
    // No row count reaches pane 3 (the dialogs write their tips there).
    EXPECT_EQ(std::wstring::npos, Pane(3).find(L"(s)")) << Pane(3);
    ExpectNoPageChosen();
    // Each command goes on to open its dialog.
    EXPECT_EQ((std::vector<UINT>{IDD_FAST_FOLDER, IDD_NEW_COMMAND}), modals);
}

TEST_F(MainWindowTest, FastFolderSettingsStartShowsThatPageOnly)
{
    Open(L"-ffsettings");
    EXPECT_TRUE(Shown(IDC_FOLDER_LIST));
    EXPECT_TRUE(Shown(IDC_ADD_FOLDER));
    EXPECT_TRUE(Shown(IDC_REMOVE_FOLDER));
    EXPECT_FALSE(Shown(IDC_COMMAND_LIST));
    EXPECT_FALSE(Shown(IDC_NEW_COMMAND));
    EXPECT_FALSE(Shown(IDC_DELETE_COMMAND));
    EXPECT_EQ(L"Fast Folders", Pane(0));
    EXPECT_EQ(L"", Pane(3));
    ExpectNoPageChosen();
}

TEST_F(MainWindowTest, OtherCommandLinesOpenMyCommands)
{
    for (const wchar_t* line : {L"-FFSETTINGS", L"-ffsettings ", L"/ffsettings", L"\\\\server\\share\\file"}) {
        Open(line);
        EXPECT_TRUE(Shown(IDC_COMMAND_LIST)) << line;
        EXPECT_FALSE(Shown(IDC_FOLDER_LIST)) << line;
        EXPECT_EQ(L"My Commands", Pane(0)) << line;
    }
}

TEST_F(MainWindowTest, MenuTipsFollowTheHighlightAndClosingEmptiesThePane)
{
    Open();
    HMENU menu = GetMenu(Hwnd());
    const std::pair<UINT, const wchar_t*> tips[] = {
        {133, L"Create a new command"}, {171, L"Create a new command"}, {134, L"Create a new Fast Folder"},
        {197, L"Create a new Fast Folder"}, {135, L"Quit Verbosa"}, {170, L"Edit the selected command"},
        {172, L"Delete the selected command"}, {195, L"Edit the selected Fast Folder"},
        {196, L"Delete the selected Fast Folder"}, {199, L"Change various program settings"},
        {200, L"About Verbosa"}, {201, L"Display the Verbosa helpfile"},
        {213, L"Refresh the list containing system commands"},
        {224, L"Change security attributes for the selected command"},
        {226, L"Delete the selected system command"}, {227, L"Get technical support via e-mail"},
        {334, L"Visit the Verbosa homepage"},
        {350, L"Put back a system command that was deleted here, from its backup"}, {9999, L""}};
    for (const auto& [id, tip] : tips) {
        SendMessageW(Hwnd(), WM_MENUSELECT, MAKEWPARAM(id, MF_STRING | MF_HILITE), reinterpret_cast<LPARAM>(menu));
        EXPECT_EQ(tip, Pane(3)) << id;
    }
    SendMessageW(Hwnd(), WM_MENUSELECT, MAKEWPARAM(133, MF_HILITE), reinterpret_cast<LPARAM>(menu));
    // A popup title (its position as the item) shows nothing.
    SendMessageW(Hwnd(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(L"", Pane(3));
    SendMessageW(Hwnd(), WM_MENUSELECT, MAKEWPARAM(133, MF_HILITE), reinterpret_cast<LPARAM>(menu));
    SendMessageW(Hwnd(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); // the menu closed
    EXPECT_EQ(L"", Pane(3));
}

struct MenuState {
    UINT menuId = 0;
    std::vector<std::pair<UINT, bool>> grey; // item, greyed
    std::vector<std::pair<UINT, bool>> picture;
};

MenuState ReadMenu(HMENU popup, UINT menuId)
{
    MenuState state;
    state.menuId = menuId;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id == 0)
            continue; // separator
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_CHECKMARKS;
        GetMenuItemInfoW(popup, i, TRUE, &info);
        state.grey.push_back({id, (info.fState & MFS_GRAYED) != 0});
        state.picture.push_back({id, info.hbmpChecked != nullptr && info.hbmpChecked == info.hbmpUnchecked});
    }
    return state;
}

TEST_F(MainWindowTest, ContextMenusGreyWhatNeedsASelectionAndCarryPictures)
{
    WriteCommandFile(L"notes", {"notes", "C:\\edit.exe", "", "1"});
    Open();
    std::vector<MenuState> seen;
    Services().contextMenu = [&](HMENU popup, UINT id) { seen.push_back(ReadMenu(popup, id)); };

    Notify(IDC_COMMAND_LIST, NM_RCLICK);
    Notify(IDC_FOLDER_LIST, NM_RCLICK);
    Notify(IDC_SYSTEM_LIST, NM_RCLICK);
    window->CommandsPage().List().SelectItem(0);
    Notify(IDC_COMMAND_LIST, NM_RCLICK);

    ASSERT_EQ(4u, seen.size());
    using Items = std::vector<std::pair<UINT, bool>>;
    EXPECT_EQ(UINT(IDR_COMMAND_MENU), seen[0].menuId);
    EXPECT_EQ((Items{{170, true}, {224, true}, {172, true}, {171, false}}), seen[0].grey);
    EXPECT_EQ((Items{{170, false}, {224, false}, {172, true}, {171, true}}), seen[0].picture);
    EXPECT_EQ(UINT(IDR_FOLDER_MENU), seen[1].menuId);
    EXPECT_EQ((Items{{195, true}, {196, true}, {197, false}}), seen[1].grey);
    EXPECT_EQ((Items{{195, false}, {196, true}, {197, true}}), seen[1].picture);
    EXPECT_EQ(UINT(IDR_SYSTEM_MENU), seen[2].menuId);
    EXPECT_EQ((Items{{213, false}, {226, true}, {350, false}, {351, false}}), seen[2].grey);
    EXPECT_EQ((Items{{213, false}, {226, true}, {350, false}, {351, false}}), seen[2].picture);
    EXPECT_EQ((Items{{170, false}, {224, false}, {172, false}, {171, false}}), seen[3].grey);
}

TEST_F(MainWindowTest, LayoutArithmeticFollowsTheWindowsGrowth)
{
    const CMainDlg::Layout l = CMainDlg::ComputeLayout({1000, 700}, {800, 500}, {600, 380}, 120, 20);
    EXPECT_EQ(140, l.lists.left);
    EXPECT_EQ(8, l.lists.top);
    EXPECT_EQ(800, RectWidth(l.lists));  // 600 + 1000 - 800
    EXPECT_EQ(580, RectHeight(l.lists)); // 380 + 700 - 500
    EXPECT_EQ(RECT({7, 8, 127, 588}), l.tree);
    EXPECT_EQ(RECT({9, 596, 124, 612}), l.progress);
    EXPECT_EQ(RECT({778, 594, 877, 620}), l.newButton);
    EXPECT_EQ(RECT({883, 594, 982, 620}), l.deleteButton);
    EXPECT_EQ(RECT({0, 680, 1000, 700}), l.statusBar);
    // Smaller than at start: the lists shrink by as much; no minimum.
    const CMainDlg::Layout s = CMainDlg::ComputeLayout({500, 300}, {800, 500}, {600, 380}, 120, 20);
    EXPECT_EQ(300, RectWidth(s.lists));
    EXPECT_EQ(180, RectHeight(s.lists));
}

TEST_F(MainWindowTest, ResizingMovesTheControlsAndSetsColumnWidths)
{
    CMainDlg& dlg = Open();
    RECT start{};
    GetWindowRect(Hwnd(), &start);
    const RECT list0 = dlg.CommandsPage().List().GetWindowRect();
    const RECT tree0 = dlg.Tree().GetWindowRect();
    for (int grow : {150, -120}) {
        SetWindowPos(Hwnd(), nullptr, 0, 0, RectWidth(start) + grow, RectHeight(start) + grow / 2,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (const CListCtrl* list : {&dlg.CommandsPage().List(), &dlg.FoldersPage().List(), &dlg.SystemPage().List()}) {
            const RECT r = list->GetRectInParent();
            EXPECT_EQ(140, r.left);
            EXPECT_EQ(8, r.top);
            EXPECT_EQ(RectWidth(list0) + grow, RectWidth(r));
            EXPECT_EQ(RectHeight(list0) + grow / 2, RectHeight(r));
        }
        const RECT tree = dlg.Tree().GetRectInParent();
        EXPECT_EQ(7, tree.left);
        EXPECT_EQ(RectWidth(tree0), RectWidth(tree));
        EXPECT_EQ(RectHeight(list0) + grow / 2, RectHeight(tree));

        // The columns fill the list without a horizontal scroll bar, and
        // the path column, the longest text, is the widest.
        const int cw = RectWidth(dlg.CommandsPage().List().GetClientRect());
        for (const CListCtrl* list : {&dlg.CommandsPage().List(), &dlg.FoldersPage().List(), &dlg.SystemPage().List()}) {
            const int columns = list == &dlg.CommandsPage().List() ? 4 : list == &dlg.SystemPage().List() ? 4 : 2;
            int total = 0;
            for (int c = 0; c < columns; ++c)
                total += list->GetColumnWidth(c);
            EXPECT_LE(total, cw);
            EXPECT_GE(total, cw - 30);
            EXPECT_GT(list->GetColumnWidth(1), list->GetColumnWidth(0));
        }

        RECT now{};
        GetWindowRect(Hwnd(), &now);
        const RECT button = CWindow(GetDlgItem(Hwnd(), IDC_DELETE_COMMAND)).GetRectInParent();
        EXPECT_EQ(RectWidth(now) - 117, button.left);
        EXPECT_EQ(RectHeight(dlg.CommandsPage().List().GetWindowRect()) + 14, button.top);
        EXPECT_EQ(99, RectWidth(button));
        EXPECT_EQ(26, RectHeight(button));
    }
}

// Counts the texts written to the status bar.
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR counter)
{
    if (msg == SB_SETTEXTA || msg == SB_SETTEXTW)
        ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST_F(MainWindowTest, HotTrackingWritesTheCountOnlyWhenItChanges)
{
    WriteCommandFile(L"notes", {"notes", "C:\\edit.exe", "", "1"});
    Open();
    int writes = 0;
    HWND bar = window->StatusBar().GetSafeHwnd();
    SetWindowSubclass(bar, CountingProc, 1, reinterpret_cast<DWORD_PTR>(&writes));

    EXPECT_EQ(0, Notify(IDC_COMMAND_LIST, LVN_HOTTRACK));
    EXPECT_EQ(L"1 command(s)", Pane(3));
    EXPECT_EQ(1, writes);
    Notify(IDC_COMMAND_LIST, LVN_HOTTRACK);
    Notify(IDC_COMMAND_LIST, LVN_HOTTRACK);
    EXPECT_EQ(1, writes);
    Notify(IDC_FOLDER_LIST, LVN_HOTTRACK);
    EXPECT_EQ(L"0 folder(s)", Pane(3));
    Notify(IDC_SYSTEM_LIST, LVN_HOTTRACK);
    EXPECT_EQ(L"0 system command(s)", Pane(3));
    EXPECT_EQ(3, writes);
    RemoveWindowSubclass(bar, CountingProc, 1);
}

TEST_F(MainWindowTest, ExitEnterAndEscEndTheRun)
{
    Open();
    Command(ID_FILE_EXIT);
    EXPECT_TRUE(window->IsEnded());
    EXPECT_EQ(IDOK, window->GetResult());
    Open();
    Command(IDOK); // Enter in a list
    EXPECT_EQ(IDOK, window->GetResult());
    Open();
    Command(IDCANCEL);
    EXPECT_EQ(IDCANCEL, window->GetResult());
}

TEST_F(MainWindowTest, AHiddenWindowStaysHiddenWhileTheShowFlagIsClear)
{
    CMainDlg& dlg = Open();
    dlg.SetShowing(false);
    WINDOWPOS pos{};
    pos.hwnd = Hwnd();
    pos.flags = SWP_SHOWWINDOW | SWP_NOMOVE;
    SendMessageW(Hwnd(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    EXPECT_EQ(UINT(SWP_NOMOVE), pos.flags);
    dlg.SetShowing(true);
    pos.flags = SWP_SHOWWINDOW;
    SendMessageW(Hwnd(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    EXPECT_EQ(UINT(SWP_SHOWWINDOW), pos.flags);
}

TEST_F(MainWindowTest, HelpMenuAndF1OpenTheHelpFileButShiftF1DoesNot)
{
    CMainDlg& dlg = Open();
    SetAppMainWindow(Hwnd()); // as start-up makes it
    Command(ID_HELP_HELP);
    MSG f1{Hwnd(), kWmKeyF1, 0, 0, 0, {}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&f1));

    {
        CShiftHeld shift;
        dlg.PreTranslateMessage(&f1); // the dialog manager's own processing
    }

    ASSERT_EQ(2u, help.size());
    for (const HtmlHelpRequest& r : help) {
        EXPECT_EQ(folder.Path() + L"\\quillon.chm", r.path);
        EXPECT_EQ(UINT(HH_DISPLAY_TOPIC), r.command);
        EXPECT_EQ(DWORD_PTR(0), r.data);
    }
    for (const HtmlHelpRequest& r : help)
        EXPECT_EQ(Hwnd(), r.caller);
    SetAppMainWindow(nullptr);
    Command(ID_HELP_FRAMEWORK); // does nothing
    EXPECT_EQ(2u, help.size());
}

// Presses keys for real and runs what arrives through the modal loop's steps.
void PressKeys(CMainDlg& dlg, std::vector<WORD> keys)
{
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        input.push_back(down);
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(up);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    const DWORD end = GetTickCount() + 700;
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!dlg.PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(10);
    }
}

TEST_F(MainWindowTest, TheF1KeyOfTheKeyboardOpensHelpAndShiftF1DoesNot)
{
    app.SetCommandLine(L"");
    window = std::make_unique<CMainDlg>();
    ASSERT_TRUE(window->Create(nullptr)); // shown: keys go to the focused window
    SetAppMainWindow(Hwnd());
    SetForegroundWindow(Hwnd());
    SetFocus(GetDlgItem(Hwnd(), IDC_COMMAND_LIST));
    PressKeys(*window, {});
    ASSERT_EQ(GetDlgItem(Hwnd(), IDC_COMMAND_LIST), GetFocus());

    PressKeys(*window, {VK_F1});
    EXPECT_EQ(1u, help.size());
    PressKeys(*window, {VK_SHIFT, VK_F1});
    EXPECT_EQ(1u, help.size());
    SetAppMainWindow(nullptr);
}

TEST_F(MainWindowTest, SupportAndHomePageGoToTheShell)
{
    Open();
    Command(ID_HELP_SUPPORT);
    Command(ID_HELP_HOMEPAGE);
    ASSERT_EQ(2u, shell.size());
    EXPECT_EQ(std::wstring(L"mailto:") + TXT_SUPPORT_MAIL + L"?Subject=Verbosa 3.0 - Support", shell[0].file);
    EXPECT_EQ(TXT_HOME_PAGE_URL, shell[1].file);
    for (const ShellRequest& r : shell) {
        EXPECT_FALSE(r.extended);
        EXPECT_EQ(L"open", r.verb);
        EXPECT_EQ(nullptr, r.owner);
        EXPECT_EQ(L"", r.parameters);
        EXPECT_EQ(L"", r.directory);
        EXPECT_EQ(SW_SHOWNORMAL, r.show);
    }
    EXPECT_EQ(0, std::wstring(TXT_HOME_PAGE_URL).rfind(L"http://", 0));
}

} // namespace

TEST_F(MainWindowTest, RestartAsAdministratorReopensThePageElevatedAndIsGreyWhenElevated)
{
    const auto greyed = [&] {
        return (GetMenuState(GetMenu(Hwnd()), ID_OPTIONS_RESTART_ADMIN, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    Open();
    EXPECT_TRUE(greyed()); // under Wine every process is elevated
    window.reset();

    Services().processElevated = [] { return false; };
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\edit.exe", L"", 1));
    CMainDlg& dlg = Open();
    EXPECT_FALSE(greyed());
    // An All users command is not deleted without the rights, and says where to get them.
    dlg.CommandsPage().List().SelectItem(0);
    Command(IDC_DELETE_COMMAND);
    EXPECT_EQ(Texts{TXT_NEEDS_ADMIN_BEFORE + std::wstring(TXT_ACTION_DELETE_MACHINE_COMMAND) + TXT_NEEDS_ADMIN_AFTER},
              boxes.Texts());
    EXPECT_TRUE(FileExists(folder.Cmds() + L"\\run_notes.cfg"));

    // Declined: the window stays. Accepted: the elevated copy opens the same page.
    SelectTreeItem(L"System");
    Services().shellOpen = [&](const ShellRequest& r) {
        shell.push_back(r);
        return false;
    };
    Command(ID_OPTIONS_RESTART_ADMIN);
    EXPECT_FALSE(dlg.IsEnded());
    Services().shellOpen = [&](const ShellRequest& r) {
        shell.push_back(r);
        return true;
    };
    Command(ID_OPTIONS_RESTART_ADMIN);
    EXPECT_TRUE(dlg.IsEnded());
    ASSERT_EQ(2u, shell.size());
    EXPECT_EQ(L"runas", shell[1].verb);
    EXPECT_EQ(GetModulePath(), shell[1].file);
    EXPECT_EQ(L"-systemcommands", shell[1].parameters);

    // Started so, the System Commands page is in front and loaded.
    window.reset();
    AddAppPathsEntry(L"tool.exe", L"C:\\Tools\\tool.exe");
    CMainDlg& again = Open(L"-systemcommands");
    EXPECT_TRUE(again.SystemPage().List().HasVisibleStyle());
    EXPECT_EQ(1, again.SystemPage().List().GetItemCount());
}
