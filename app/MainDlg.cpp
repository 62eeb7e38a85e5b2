// The main window: set-up, page switching and status bar, and the routing
// of menu commands and list notifications to the pages.
#include "app/MainDlg.h"

#include "app/CommandLine.h"
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
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_PAGE_TREE, OnTreeSelChanged)
    ON_NOTIFY(NM_RCLICK, IDC_COMMAND_LIST, m_commands.OnRClick)
    ON_NOTIFY(NM_RCLICK, IDC_FOLDER_LIST, m_folders.OnRClick)
    ON_NOTIFY(NM_RCLICK, IDC_SYSTEM_LIST, m_system.OnRClick)
    ON_NOTIFY(NM_DBLCLK, IDC_COMMAND_LIST, m_commands.OnDblClk)
    ON_NOTIFY(NM_DBLCLK, IDC_FOLDER_LIST, m_folders.OnDblClk)
    ON_NOTIFY(LVN_HOTTRACK, IDC_COMMAND_LIST, m_commands.OnHotTrack)
    ON_NOTIFY(LVN_GETINFOTIPW, IDC_COMMAND_LIST, m_commands.OnGetInfoTip)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_COMMAND_LIST, m_commands.OnGetDispInfo)
    ON_NOTIFY(LVN_HOTTRACK, IDC_FOLDER_LIST, m_folders.OnHotTrack)
    ON_NOTIFY(LVN_HOTTRACK, IDC_SYSTEM_LIST, m_system.OnHotTrack)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_SYSTEM_LIST, m_system.OnGetDispInfo)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_SYSTEM_LIST, m_system.OnColumnClick)
    ON_MESSAGE(kSystemStatusMessage, m_system.OnStatusBatch)
    ON_COMMAND(ID_FILE_NEW_COMMAND, OnFileNewCommand)
    ON_COMMAND(ID_FILE_ADD_FOLDER, OnFileAddFolder)
    ON_COMMAND(ID_FILE_EXPORT, m_transfer.OnFileExport)
    ON_COMMAND(ID_FILE_IMPORT, m_transfer.OnFileImport)
    ON_COMMAND(ID_FILE_EXIT, OnFileExit)
    ON_COMMAND(ID_OPTIONS_CONFIGURATION, m_configuration.ShowConfiguration)
    ON_COMMAND(ID_OPTIONS_RESTART_ADMIN, OnRestartAsAdministrator)
    ON_COMMAND(ID_HELP_HELP, ShowHelp)
    ON_COMMAND(ID_HELP_SUPPORT, OnTechSupport)
    ON_COMMAND(ID_HELP_HOMEPAGE, OnHomePage)
    ON_COMMAND(ID_HELP_ABOUT, OnAbout)
    ON_COMMAND(ID_HELP_FRAMEWORK, OnFrameworkHelp)
    ON_COMMAND(IDC_NEW_COMMAND, m_commands.OnNewCommand)
    ON_COMMAND(ID_COMMAND_NEW, m_commands.OnNewCommand)
    ON_COMMAND(IDC_DELETE_COMMAND, m_commands.OnDeleteCommand)
    ON_COMMAND(ID_COMMAND_DELETE, m_commands.OnDeleteCommand)
    ON_COMMAND(ID_COMMAND_EDIT, m_commands.OnEditCommand)
    ON_COMMAND(ID_COMMAND_SECURITY, m_commands.OnCommandProperties)
    ON_COMMAND(IDC_ADD_FOLDER, m_folders.OnAddFolder)
    ON_COMMAND(ID_FOLDER_ADD, m_folders.OnAddFolder)
    ON_COMMAND(IDC_REMOVE_FOLDER, m_folders.OnDeleteFolder)
    ON_COMMAND(ID_FOLDER_DELETE, m_folders.OnDeleteFolder)
    ON_COMMAND(ID_FOLDER_EDIT, m_folders.OnEditFolder)
    ON_COMMAND(ID_SYSTEM_RELOAD, m_system.OnSystemReload)
    ON_COMMAND(ID_SYSTEM_DELETE, m_system.OnSystemDelete)
    ON_COMMAND(ID_SYSTEM_RESTORE, m_system.OnSystemRestore)
    ON_COMMAND(ID_SYSTEM_CLEAN_UP, m_system.OnSystemCleanUp)
END_ROUTES()

CMainDlg::CMainDlg(HWND parent) : CDialog(IDD_MAIN, parent)
{
    m_icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN));
}

CMainDlg::~CMainDlg()
{
    DestroyWindow(); // while this class's handlers can still run
}

void CMainDlg::DoDataExchange(bool save)
{
    DDX_Control(save, m_hWnd, IDC_PAGE_TREE, m_tree);
    DDX_Control(save, m_hWnd, IDC_NEW_COMMAND, m_newCommandButton);
    DDX_Control(save, m_hWnd, IDC_DELETE_COMMAND, m_deleteCommandButton);
    DDX_Control(save, m_hWnd, IDC_ADD_FOLDER, m_addFolderButton);
    DDX_Control(save, m_hWnd, IDC_REMOVE_FOLDER, m_removeFolderButton);
    DDX_Control(save, m_hWnd, IDC_PROGRESS, m_progress);
    m_commands.DoDataExchange(save, m_hWnd);
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
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    // 4. The command line, whole, as the platform handed it over.
    m_commandLine = CWinApp::Get() ? CWinApp::Get()->CommandLine() : std::wstring();

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
        wchar_t longPath[MAX_PATH] = {};
        GetLongPathNameW(m_commandLine.c_str(), longPath, MAX_PATH);
        longPath[MAX_PATH - 1] = L'\0';
        CNewCommandDlg dialog = CNewCommandDlg::ForPath(m_commands, longPath);
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
    m_commands.FillCommandList();
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
    // The dialog manager's own rescaling would undo the layout below.
    TakeOverDpiChanges(m_hWnd);

    // 1. The lists, their columns at set-up width.
    m_commands.SetUp();
    m_folders.SetUp();
    m_system.SetUp();

    // 2. The tree with its images and five items; both roots expanded.
    const int icon = SmallIconSizeForDpi(m_scale.Dpi());
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
    m_initialListRect = m_commands.List().GetWindowRect();
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
    m_statusBar.SetPaneText(3, L"");
}

void CMainDlg::AddTreeImages()
{
    const int size = SmallIconSizeForDpi(m_scale.Dpi());
    for (UINT id : {IDI_TREE_GROUP, IDI_TREE_PAGE, IDI_TREE_PAGE_OPEN, IDI_HELP}) {
        CIconHandle icon(LoadIconOfSize(GetModuleHandleW(nullptr), id, size));
        m_treeImages.Add(icon.Get());
    }
}

void CMainDlg::ShowPage(Page page)
{
    const bool commands = page == Page::commands;
    const bool folders = page == Page::folders;
    m_commands.List().ShowWindow(commands ? SW_SHOW : SW_HIDE);
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
    const std::wstring text = m_tree.GetItemText(item);
    if (text == TXT_TREE_MY_COMMANDS) {
        ShowPage(Page::commands);
        m_statusBar.SetPaneText(3, m_commands.CountText());
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

void CMainDlg::ReloadStores()
{
    m_commands.FillCommandList();
    m_folders.RefreshFastFolderList();
}

void CMainDlg::ShowCount(const std::wstring& text)
{
    if (m_statusBar.GetPaneText(3) != text)
        m_statusBar.SetPaneText(3, text);
}

void CMainDlg::SetStatusTip(const std::wstring& text)
{
    if (m_statusBar)
        m_statusBar.SetPaneText(3, text);
}


void CMainDlg::OnFileNewCommand()
{
    ShowPage(Page::commands);
    m_commands.OnNewCommand();
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
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
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
    m_commands.CleanUp();
    m_folders.CleanUp();
    m_system.CleanUp();
    m_tree.DeleteAllItems();
    m_statusBar.SetIcon(0, nullptr);
    m_statusBar.SetIcon(3, nullptr);
    m_treeImages.Destroy();
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
