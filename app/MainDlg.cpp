// The main window: set-up, page switching, menus and status bar, and the
// routing of menu commands and list notifications to the pages.
#include "app/MainDlg.h"

#include "app/CommandLine.h"
#include "app/MenuPictures.h"
#include "catalogue/CommandPaths.h"
#include "framework/AppInfo.h"
#include "shellsettings/FirstRun.h"

#include "framework/DataExchange.h"
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "framework/Services.h"
#include "framework/WinApp.h"
#include "framework/WindowDpi.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"
#include "resources/TransferIds.h"

// The pages' commands and notifications are routed through the page
// members: a route pastes its handler after the window pointer, so
// ON_COMMAND(id, m_folders.OnAddFolder) calls the page, and this one table
// still names every id the window routes.
BEGIN_ROUTES(CMainDlg, CDialog)
    ON_WM_CREATE(OnCreate)
    ON_WM_SIZE(OnSize)
    ON_WM_WINDOWPOSCHANGING(OnWindowPosChanging)
    ON_WM_SIZING(OnSizing)
    ON_WM_MENUSELECT(OnMenuSelect)
    ON_WM_PAINT(OnPaint)
    ON_WM_QUERYDRAGICON(OnQueryDragIcon)
    ON_WM_DESTROY(OnDestroy)
    ON_WM_DPICHANGED(OnDpiChanged)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_PAGE_TREE, OnTreeSelChanged)
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_PAGE_TREE, OnTreeSelChanged)
    ON_NOTIFY(NM_RCLICK, IDC_COMMAND_LIST, OnCommandListRClick)
    ON_NOTIFY(NM_RCLICK, IDC_FOLDER_LIST, m_folders.OnRClick)
    ON_NOTIFY(NM_RCLICK, IDC_SYSTEM_LIST, m_system.OnRClick)
    ON_NOTIFY(NM_DBLCLK, IDC_COMMAND_LIST, OnCommandListDblClk)
    ON_NOTIFY(NM_DBLCLK, IDC_FOLDER_LIST, m_folders.OnDblClk)
    ON_NOTIFY(LVN_HOTTRACK, IDC_COMMAND_LIST, OnCommandListHotTrack)
    ON_NOTIFY(LVN_GETINFOTIPA, IDC_COMMAND_LIST, OnCommandListGetInfoTip)
    ON_NOTIFY(LVN_GETINFOTIPW, IDC_COMMAND_LIST, OnCommandListGetInfoTip)
    ON_NOTIFY(LVN_HOTTRACK, IDC_FOLDER_LIST, m_folders.OnHotTrack)
    ON_NOTIFY(LVN_HOTTRACK, IDC_SYSTEM_LIST, m_system.OnHotTrack)
    ON_NOTIFY(LVN_GETDISPINFOA, IDC_SYSTEM_LIST, m_system.OnGetDispInfo)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_SYSTEM_LIST, m_system.OnGetDispInfo)
    ON_COMMAND(ID_FILE_NEW_COMMAND, OnFileNewCommand)
    ON_COMMAND(ID_FILE_ADD_FOLDER, OnFileAddFolder)
    ON_COMMAND(ID_FILE_EXPORT, OnFileExport)
    ON_COMMAND(ID_FILE_IMPORT, OnFileImport)
    ON_COMMAND(ID_FILE_EXIT, OnFileExit)
    ON_COMMAND(ID_OPTIONS_CONFIGURATION, m_configuration.ShowConfiguration)
    ON_COMMAND(ID_OPTIONS_RESTART_ADMIN, OnRestartAsAdministrator)
    ON_COMMAND(ID_HELP_HELP, ShowHelp)
    ON_COMMAND(ID_HELP_SUPPORT, OnTechSupport)
    ON_COMMAND(ID_HELP_HOMEPAGE, OnHomePage)
    ON_COMMAND(ID_HELP_ABOUT, OnAbout)
    ON_COMMAND(ID_HELP_FRAMEWORK, OnFrameworkHelp)
    ON_COMMAND(IDC_NEW_COMMAND, OnNewCommand)
    ON_COMMAND(ID_COMMAND_NEW, OnNewCommand)
    ON_COMMAND(IDC_DELETE_COMMAND, OnDeleteCommand)
    ON_COMMAND(ID_COMMAND_DELETE, OnDeleteCommand)
    ON_COMMAND(ID_COMMAND_EDIT, OnEditCommand)
    ON_COMMAND(ID_COMMAND_SECURITY, OnCommandProperties)
    ON_COMMAND(IDC_ADD_FOLDER, m_folders.OnAddFolder)
    ON_COMMAND(ID_FOLDER_ADD, m_folders.OnAddFolder)
    ON_COMMAND(IDC_REMOVE_FOLDER, m_folders.OnDeleteFolder)
    ON_COMMAND(ID_FOLDER_DELETE, m_folders.OnDeleteFolder)
    ON_COMMAND(ID_FOLDER_EDIT, m_folders.OnEditFolder)
    ON_COMMAND(ID_SYSTEM_RELOAD, m_system.OnSystemReload)
    ON_COMMAND(ID_SYSTEM_DELETE, m_system.OnSystemDelete)
    ON_COMMAND(ID_SYSTEM_RESTORE, m_system.OnSystemRestore)
END_ROUTES()

CMainDlg::CMainDlg(HWND parent) : CDialog(IDD_MAIN, parent)
{
    m_icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN));
}

CMainDlg::~CMainDlg()
{
    DestroyWindow(); // while this class's handlers can still run
}

void CMainDlg::DoDataExchange(bool save)
{
    DDX_Control(save, m_hWnd, IDC_COMMAND_LIST, m_commandList);
    DDX_Control(save, m_hWnd, IDC_PAGE_TREE, m_tree);
    DDX_Control(save, m_hWnd, IDC_NEW_COMMAND, m_newCommandButton);
    DDX_Control(save, m_hWnd, IDC_DELETE_COMMAND, m_deleteCommandButton);
    DDX_Control(save, m_hWnd, IDC_ADD_FOLDER, m_addFolderButton);
    DDX_Control(save, m_hWnd, IDC_REMOVE_FOLDER, m_removeFolderButton);
    DDX_Control(save, m_hWnd, IDC_PROGRESS, m_progress);
    m_folders.DoDataExchange(save, m_hWnd);
    m_system.DoDataExchange(save, m_hWnd);
}

BOOL CMainDlg::OnInitDialog()
{
    // 1. From here on the window may appear and its controls exist.
    m_show = true;

    // 2. Bind the template's controls.
    CDialog::OnInitDialog();

    // 3. The window icon, big and small.
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    // 4. The command line, whole, as the platform handed it over.
    m_commandLine = CWinApp::Get() ? CWinApp::Get()->CommandLine() : std::string();

    // 5. First-start check: a failed set-up is rolled back, and the window,
    //    closed while it initialises, is never shown for use.
    if (IsFirstRun() && !RunFirstTimeSetup(GetProgramFolder())) {
        UndoFirstTimeSetup();
        m_pendingMessage = LoadAppString(IDS_NO_REGISTRY_ACCESS);
        OnOK();
    }

    if (ClassifyCommandLine(m_commandLine) == StartMode::path) {
        // 6. Path mode: only the New Command dialog, with the long form.
        m_show = false;
        char longPath[MAX_PATH] = {};
        GetLongPathNameA(m_commandLine.c_str(), longPath, MAX_PATH);
        longPath[MAX_PATH - 1] = '\0';
        CNewCommandDlg dialog = CNewCommandDlg::ForPath(*this, longPath);
        dialog.DoModal();
        OnOK();
    } else {
        // 7. Normal mode.
        StartNormalMode();
    }

    // 8. A start-up that failed says why and ends.
    if (!m_pendingMessage.empty()) {
        ShowMessageBox(AppMessageBoxOwner(), m_pendingMessage, TXT_OWN_CAPTION, MB_OK | MB_ICONEXCLAMATION);
        OnOK();
    }

    // 9. The dialog manager puts the focus on the first control.
    return TRUE;
}

void CMainDlg::StartNormalMode()
{
    SetUpControls();
    LayOutControls();
    FillCommandList();
    m_folders.RefreshFastFolderList();
    switch (ClassifyCommandLine(m_commandLine)) {
    case StartMode::fastFolders:
        // Fast Folders in front; the tree selection and pane 3 stay as they are.
        ShowPage(Page::folders);
        break;
    case StartMode::system:
        // After a restart as administrator: the page it was started from.
        ShowPage(Page::system);
        m_system.LoadSystemCommands();
        break;
    default:
        break;
    }
}

void CMainDlg::SetUpControls()
{
    m_scale = ScaleOfWindow(m_hWnd);
    const CDpiScale& s = m_scale;
    // The dialog manager's own rescaling would undo the layout below.
    TakeOverDpiChanges(m_hWnd);

    // 1. The lists, their columns at set-up width (b = own client width / 10).
    const int icon = SmallIconSizeForDpi(s.Dpi());
    const int b = RectWidth(m_commandList.GetClientRect()) / 10;
    SetUpReportList(m_commandList, m_commandImages,
                    {{TXT_COL_COMMAND, 2 * b + s(5)}, {TXT_COL_PATH, 5 * b}, {TXT_COL_PARAMETERS, 2 * b - s(5)},
                     {TXT_COL_SCOPE, b}},
                    icon);
    // A row whose name Windows answers with a file of its own says so.
    m_commandList.SetExtendedStyle(LVS_EX_INFOTIP);
    m_folders.SetUp();
    m_system.SetUp();

    // 2. The tree with its images and five items; both roots expanded.
    m_treeImages.Create(icon, icon, kIconListFlags, 4, 4);
    AddTreeImages();
    m_tree.SetImageList(m_treeImages, TVSIL_NORMAL);
    HTREEITEM commands = m_tree.InsertItem(TXT_TREE_COMMANDS, 0, 0, nullptr);
    m_tree.InsertItem(TXT_TREE_MY_COMMANDS, 1, 2, commands);
    m_tree.InsertItem(TXT_TREE_SYSTEM, 1, 2, commands);
    HTREEITEM special = m_tree.InsertItem(TXT_TREE_SPECIAL, 0, 0, nullptr);
    m_tree.InsertItem(TXT_TREE_FAST_FOLDERS, 1, 2, special);
    m_tree.Expand(commands, TVE_EXPAND);
    m_tree.Expand(special, TVE_EXPAND);

    // 3. The rectangles the layout measures growth against: the list as the
    //    template made it and the window the template asked for, which the
    //    system makes smaller when it does not fit the screen (200 % on a
    //    small one).
    ::GetWindowRect(m_hWnd, &m_initialWindowRect);
    m_initialListRect = m_commandList.GetWindowRect();
    const SIZE asked = TemplateClientSize();
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (asked.cx > RectWidth(client))
        m_initialWindowRect.right += asked.cx - RectWidth(client);
    if (asked.cy > RectHeight(client))
        m_initialWindowRect.bottom += asked.cy - RectHeight(client);

    // 4. The status bar and its four panes.
    m_statusBar.Create(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, m_hWnd, 0);
    SetUpStatusPanes();
    m_statusBar.SetPaneText(0, TXT_PANE_MY_COMMANDS);
    m_statusBar.SetPaneText(1, TXT_PANE_DOTS);
    m_statusBar.SetPaneText(3, "");
}

void CMainDlg::AddTreeImages()
{
    const int size = SmallIconSizeForDpi(m_scale.Dpi());
    for (UINT id : {IDI_TREE_GROUP, IDI_TREE_PAGE, IDI_TREE_PAGE_OPEN, IDI_HELP}) {
        CIconHandle icon(LoadIconOfSize(GetModuleHandleA(nullptr), id, size));
        m_treeImages.Add(icon.Get());
    }
}

void CMainDlg::ShowPage(Page page)
{
    const bool commands = page == Page::commands;
    const bool folders = page == Page::folders;
    m_commandList.ShowWindow(commands ? SW_SHOW : SW_HIDE);
    m_folders.List().ShowWindow(folders ? SW_SHOW : SW_HIDE);
    m_system.List().ShowWindow(page == Page::system ? SW_SHOW : SW_HIDE);
    switch (page) {
    case Page::commands:
    case Page::folders: {
        const CWindow& shownNew = commands ? m_newCommandButton : m_addFolderButton;
        const CWindow& shownDelete = commands ? m_deleteCommandButton : m_removeFolderButton;
        const CWindow& hiddenNew = commands ? m_addFolderButton : m_newCommandButton;
        const CWindow& hiddenDelete = commands ? m_removeFolderButton : m_deleteCommandButton;
        shownNew.ShowWindow(SW_SHOW);
        shownDelete.ShowWindow(SW_SHOW);
        shownNew.EnableWindow(true);
        shownDelete.EnableWindow(true);
        hiddenNew.ShowWindow(SW_HIDE);
        hiddenDelete.ShowWindow(SW_HIDE);
        m_statusBar.SetPaneText(0, commands ? TXT_PANE_MY_COMMANDS : TXT_PANE_FAST_FOLDERS);
        break;
    }
    case Page::system:
        // The buttons of the page before stay where they are, greyed.
        for (const CWindow* button : {&m_newCommandButton, &m_deleteCommandButton, &m_addFolderButton,
                                      &m_removeFolderButton})
            button->EnableWindow(false);
        m_statusBar.SetPaneText(0, TXT_PANE_SYSTEM_COMMANDS);
        break;
    }
}

void CMainDlg::OnTreeSelChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    HTREEITEM item = m_tree.GetSelectedItem();
    if (!item)
        return;
    const std::string text = m_tree.GetItemText(item);
    if (text == TXT_TREE_MY_COMMANDS) {
        ShowPage(Page::commands);
        m_statusBar.SetPaneText(3, CommandCountText());
    } else if (text == TXT_TREE_SYSTEM) {
        ShowPage(Page::system);
        if (m_system.List().GetItemCount() == 0)
            m_system.LoadSystemCommands();
        m_statusBar.SetPaneText(3, m_system.CountText());
    } else if (text == TXT_TREE_FAST_FOLDERS) {
        ShowPage(Page::folders);
        m_statusBar.SetPaneText(3, m_folders.CountText());
    }
}


std::string CMainDlg::CommandCountText() const
{
    return std::to_string(m_commandList.GetItemCount()) + TXT_COUNT_COMMANDS;
}

void CMainDlg::ShowCount(const std::string& text)
{
    if (m_statusBar.GetPaneText(3) != text)
        m_statusBar.SetPaneText(3, text);
}

void CMainDlg::SetStatusTip(const std::string& text)
{
    if (m_statusBar)
        m_statusBar.SetPaneText(3, text);
}

const char* CMainDlg::MenuTip(UINT id)
{
    switch (id) {
    case ID_FILE_NEW_COMMAND:
    case ID_COMMAND_NEW: return TXT_TIP_NEW_COMMAND;
    case ID_FILE_ADD_FOLDER:
    case ID_FOLDER_ADD: return TXT_TIP_NEW_FOLDER;
    case ID_FILE_EXPORT: return TXT_TIP_EXPORT;
    case ID_FILE_IMPORT: return TXT_TIP_IMPORT;
    case ID_FILE_EXIT: return TXT_TIP_EXIT;
    case ID_COMMAND_EDIT: return TXT_TIP_EDIT_COMMAND;
    case ID_COMMAND_DELETE: return TXT_TIP_DELETE_COMMAND;
    case ID_FOLDER_EDIT: return TXT_TIP_EDIT_FOLDER;
    case ID_FOLDER_DELETE: return TXT_TIP_DELETE_FOLDER;
    case ID_OPTIONS_CONFIGURATION: return TXT_TIP_CONFIGURATION;
    case ID_OPTIONS_RESTART_ADMIN: return TXT_TIP_RESTART_ADMIN;
    case ID_HELP_ABOUT: return TXT_TIP_ABOUT;
    case ID_HELP_HELP: return TXT_TIP_HELP;
    case ID_SYSTEM_RELOAD: return TXT_TIP_RELOAD;
    case ID_COMMAND_SECURITY: return TXT_TIP_SECURITY;
    case ID_SYSTEM_DELETE: return TXT_TIP_DELETE_SYSTEM;
    case ID_SYSTEM_RESTORE: return TXT_TIP_RESTORE_DELETED;
    case ID_HELP_SUPPORT: return TXT_TIP_SUPPORT;
    case ID_HELP_HOMEPAGE: return TXT_TIP_HOME_PAGE;
    default: return "";
    }
}

void CMainDlg::OnMenuSelect(const MenuSelection& selection)
{
    SetStatusTip(selection.IsCommandItem() ? MenuTip(selection.item) : "");
}

void CMainDlg::ShowContextMenu(UINT menuId, const CListCtrl& list)
{
    // Declared before the menu, so the menu goes first.
    CBitmapHandle newBitmap, deleteBitmap;
    CMenuHandle menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);

    deleteBitmap.Reset(LoadMenuPicture(IDB_MENU_DELETE, m_scale));
    const bool selected = list.GetFirstSelected() >= 0;
    auto grey = [&](UINT item) {
        if (!selected)
            EnableMenuItem(popup, item, MF_BYCOMMAND | MF_GRAYED);
    };
    switch (menuId) {
    case IDR_COMMAND_MENU:
        newBitmap.Reset(LoadMenuPicture(IDB_MENU_NEW_COMMAND, m_scale));
        SetItemPicture(popup, ID_COMMAND_NEW, newBitmap.Get());
        SetItemPicture(popup, ID_COMMAND_DELETE, deleteBitmap.Get());
        grey(ID_COMMAND_EDIT);
        grey(ID_COMMAND_DELETE);
        grey(ID_COMMAND_SECURITY);
        break;
    case IDR_FOLDER_MENU:
        newBitmap.Reset(LoadMenuPicture(IDB_MENU_ADD_FOLDER, m_scale));
        SetItemPicture(popup, ID_FOLDER_ADD, newBitmap.Get());
        SetItemPicture(popup, ID_FOLDER_DELETE, deleteBitmap.Get());
        grey(ID_FOLDER_EDIT);
        grey(ID_FOLDER_DELETE);
        break;
    case IDR_SYSTEM_MENU:
        SetItemPicture(popup, ID_SYSTEM_DELETE, deleteBitmap.Get());
        grey(ID_SYSTEM_DELETE);
        break;
    default:
        break;
    }
    if (const auto inspect = Services().contextMenu)
        inspect(popup, menuId);
    else
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
}

void CMainDlg::OnCommandListRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    ShowContextMenu(IDR_COMMAND_MENU, m_commandList);
}

void CMainDlg::OnCommandListDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnEditCommand();
}

void CMainDlg::OnCommandListHotTrack(NMHDR*, LRESULT* result)
{
    *result = 0;
    ShowCount(CommandCountText());
}

void CMainDlg::OnFileNewCommand()
{
    ShowPage(Page::commands);
    OnNewCommand();
}

void CMainDlg::OnFileAddFolder()
{
    ShowPage(Page::folders);
    m_folders.OnAddFolder();
}

void CMainDlg::OnFileExit()
{
    OnOK();
}

void CMainDlg::OnFrameworkHelp() {}

void CMainDlg::OnCreate()
{
    m_scale = ScaleOfWindow(m_hWnd);
    SetMenuPictures();
    // Already elevated: nothing to restart into.
    if (IsProcessElevated())
        EnableMenuItem(GetMenu(m_hWnd), ID_OPTIONS_RESTART_ADMIN, MF_BYCOMMAND | MF_GRAYED);
}

void CMainDlg::OnWindowPosChanging(WINDOWPOS& pos)
{
    if (!m_show)
        pos.flags &= ~SWP_SHOWWINDOW;
}

bool CMainDlg::OnPaint()
{
    if (!IsIconic(m_hWnd))
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int x = (RectWidth(client) - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (RectHeight(client) - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_icon);
    EndPaint(m_hWnd, &paint);
    return true;
}

HICON CMainDlg::OnQueryDragIcon()
{
    return m_icon;
}

void CMainDlg::OnDestroy()
{
    if (m_show)
        CleanUp();
}

void CMainDlg::CleanUp()
{
    m_commandList.DeleteAllItems();
    m_folders.CleanUp();
    m_system.CleanUp();
    m_tree.DeleteAllItems();
    m_statusBar.SetIcon(0, nullptr);
    m_statusBar.SetIcon(3, nullptr);
    for (CImageList* images : {&m_treeImages, &m_commandImages})
        images->Destroy();
    m_bmpConfiguration.Reset();
    m_bmpHelp.Reset();
    m_bmpNewCommand.Reset();
    m_bmpAddFolder.Reset();
    m_bmpShield.Reset();
    if (m_statusBar)
        ::DestroyWindow(m_statusBar.GetSafeHwnd());
    m_statusBar.Attach(nullptr);
    m_pane0Icon.Reset();
    m_pane3Icon.Reset();
}
