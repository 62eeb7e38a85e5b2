// The main window: set-up, layout, page switching, menus and status bar.
#include "app/MainDlg.h"

#include "app/CommandLine.h"
#include "catalogue/CommandPaths.h"
#include "framework/AppInfo.h"
#include "shellsettings/FirstRun.h"
#include "systemcmds/RowIconImages.h"

#include "framework/DataExchange.h"
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "framework/Services.h"
#include "framework/WinApp.h"
#include "framework/WindowDpi.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"
#include "resources/TransferIds.h"

#include <algorithm>

namespace {

constexpr UINT kImageListFlags = ILC_COLORDDB | ILC_MASK;
// Pixel figures at 96 DPI; the window scales them to its own.
constexpr int kStatusPaneEdges[] = {210, 260, 340, -1};
constexpr int kButtonWidth = 99;
constexpr int kButtonHeight = 26;

// A menu picture's resources for 100 %, 150 % and 200 % display scale.
struct MenuPicture {
    UINT ids[kPictureScaleCount];
};
constexpr MenuPicture kMenuPictures[] = {
    {{IDB_MENU_NEW_COMMAND, IDB_MENU_NEW_COMMAND_150, IDB_MENU_NEW_COMMAND_200}},
    {{IDB_MENU_DELETE, IDB_MENU_DELETE_150, IDB_MENU_DELETE_200}},
    {{IDB_MENU_HELP, IDB_MENU_HELP_150, IDB_MENU_HELP_200}},
    {{IDB_MENU_CONFIGURATION, IDB_MENU_CONFIGURATION_150, IDB_MENU_CONFIGURATION_200}},
    {{IDB_MENU_ADD_FOLDER, IDB_MENU_ADD_FOLDER_150, IDB_MENU_ADD_FOLDER_200}},
};

UINT MenuPictureId(UINT id, const CDpiScale& scale)
{
    for (const MenuPicture& picture : kMenuPictures)
        if (picture.ids[0] == id)
            return picture.ids[scale.PictureScale()];
    return id;
}

// A menu picture drawn for the scale, with its 3D-grey background in the
// menu's own colour.
HBITMAP LoadAppBitmap(UINT id, const CDpiScale& scale)
{
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(MenuPictureId(id, scale)),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION dib{};
    if (!bitmap || GetObjectA(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 24
        || !dib.dsBm.bmBits)
        return bitmap;
    const COLORREF menu = GetSysColor(COLOR_MENU);
    auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (int y = 0; y < dib.dsBm.bmHeight; ++y) {
        BYTE* pixel = bits + static_cast<size_t>(y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < dib.dsBm.bmWidth; ++x, pixel += 3) {
            if (pixel[0] == 192 && pixel[1] == 192 && pixel[2] == 192) {
                pixel[0] = GetBValue(menu);
                pixel[1] = GetGValue(menu);
                pixel[2] = GetRValue(menu);
            }
        }
    }
    return bitmap;
}

// The system's shield, drawn for a menu item on the menu's background.
HBITMAP ShieldBitmap(const CDpiScale& scale)
{
    const int size = SystemMetricForDpi(SM_CXMENUCHECK, scale.Dpi());
    auto* shield = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(32518) /* IDI_SHIELD */, IMAGE_ICON,
                                                 size, size, LR_SHARED));
    if (!shield)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, size, size};
        FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
        DrawIconEx(dc, 0, 0, shield, size, size, 0, nullptr, DI_NORMAL);
        SelectObject(dc, old);
    }
    if (dc)
        DeleteDC(dc);
    return bitmap;
}

void SetItemBitmap(HMENU menu, UINT item, HBITMAP bitmap)
{
    SetMenuItemBitmaps(menu, item, MF_BYCOMMAND, bitmap, bitmap);
}

} // namespace

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
    ON_NOTIFY(NM_RCLICK, IDC_FOLDER_LIST, OnFolderListRClick)
    ON_NOTIFY(NM_RCLICK, IDC_SYSTEM_LIST, OnSystemListRClick)
    ON_NOTIFY(NM_DBLCLK, IDC_COMMAND_LIST, OnCommandListDblClk)
    ON_NOTIFY(NM_DBLCLK, IDC_FOLDER_LIST, OnFolderListDblClk)
    ON_NOTIFY(LVN_HOTTRACK, IDC_COMMAND_LIST, OnCommandListHotTrack)
    ON_NOTIFY(LVN_GETINFOTIPA, IDC_COMMAND_LIST, OnCommandListGetInfoTip)
    ON_NOTIFY(LVN_GETINFOTIPW, IDC_COMMAND_LIST, OnCommandListGetInfoTip)
    ON_NOTIFY(LVN_HOTTRACK, IDC_FOLDER_LIST, OnFolderListHotTrack)
    ON_NOTIFY(LVN_HOTTRACK, IDC_SYSTEM_LIST, OnSystemListHotTrack)
    ON_NOTIFY(LVN_GETDISPINFOA, IDC_SYSTEM_LIST, OnSystemListGetDispInfo)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_SYSTEM_LIST, OnSystemListGetDispInfo)
    ON_COMMAND(ID_FILE_NEW_COMMAND, OnFileNewCommand)
    ON_COMMAND(ID_FILE_ADD_FOLDER, OnFileAddFolder)
    ON_COMMAND(ID_FILE_EXPORT, OnFileExport)
    ON_COMMAND(ID_FILE_IMPORT, OnFileImport)
    ON_COMMAND(ID_FILE_EXIT, OnFileExit)
    ON_COMMAND(ID_OPTIONS_CONFIGURATION, ShowConfiguration)
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
    ON_COMMAND(IDC_ADD_FOLDER, OnAddFolder)
    ON_COMMAND(ID_FOLDER_ADD, OnAddFolder)
    ON_COMMAND(IDC_REMOVE_FOLDER, OnDeleteFolder)
    ON_COMMAND(ID_FOLDER_DELETE, OnDeleteFolder)
    ON_COMMAND(ID_FOLDER_EDIT, OnEditFolder)
    ON_COMMAND(ID_SYSTEM_RELOAD, OnSystemReload)
    ON_COMMAND(ID_SYSTEM_DELETE, OnSystemDelete)
    ON_COMMAND(ID_SYSTEM_RESTORE, OnSystemRestore)
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
    DDX_Control(save, m_hWnd, IDC_FOLDER_LIST, m_folderList);
    DDX_Control(save, m_hWnd, IDC_ADD_FOLDER, m_addFolderButton);
    DDX_Control(save, m_hWnd, IDC_REMOVE_FOLDER, m_removeFolderButton);
    DDX_Control(save, m_hWnd, IDC_SYSTEM_LIST, m_systemList);
    DDX_Control(save, m_hWnd, IDC_PROGRESS, m_progress);
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
    RefreshFastFolderList();
    switch (ClassifyCommandLine(m_commandLine)) {
    case StartMode::fastFolders:
        // Fast Folders in front; the tree selection and pane 3 stay as they are.
        ShowPage(Page::folders);
        break;
    case StartMode::system:
        // After a restart as administrator: the page it was started from.
        ShowPage(Page::system);
        LoadSystemCommands();
        break;
    default:
        break;
    }
}

void CMainDlg::SetUpList(CListCtrl& list, CImageList& images, const char* const* headings, const int* widths,
                         int columns)
{
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < columns; ++i)
        list.InsertColumn(i, headings[i], LVCFMT_LEFT, widths[i]);
    const int icon = SmallIconSizeForDpi(m_scale.Dpi());
    images.Create(icon, icon, kImageListFlags, 4, 4);
    // The window owns the image list; the list must not destroy it too.
    SetWindowLongPtrA(list.GetSafeHwnd(), GWL_STYLE,
                      GetWindowLongPtrA(list.GetSafeHwnd(), GWL_STYLE) | LVS_SHAREIMAGELISTS);
    list.SetImageList(images, LVSIL_SMALL);
}

void CMainDlg::SetUpControls()
{
    m_scale = ScaleOfWindow(m_hWnd);
    const CDpiScale& s = m_scale;
    // The dialog manager's own rescaling would undo the layout below.
    TakeOverDpiChanges(m_hWnd);

    // 1. The lists, their columns at set-up width (b = own client width / 10).
    {
        const int b = RectWidth(m_commandList.GetClientRect()) / 10;
        const char* const headings[] = {TXT_COL_COMMAND, TXT_COL_PATH, TXT_COL_PARAMETERS, TXT_COL_SCOPE};
        const int widths[] = {2 * b + s(5), 5 * b, 2 * b - s(5), b};
        SetUpList(m_commandList, m_commandImages, headings, widths, 4);
        // A row whose name Windows answers with a file of its own says so.
        m_commandList.SetExtendedStyle(LVS_EX_INFOTIP);
    }
    {
        const int b = RectWidth(m_folderList.GetClientRect()) / 10;
        const char* const headings[] = {TXT_COL_ALIAS, TXT_COL_DIRECTORY};
        const int widths[] = {2 * b + s(5), 8 * b - s(2)};
        SetUpList(m_folderList, m_folderImages, headings, widths, 2);
    }
    {
        const int b = RectWidth(m_systemList.GetClientRect()) / 10;
        const char* const headings[] = {TXT_COL_COMMAND, TXT_COL_PATH};
        const int widths[] = {3 * b, 3 * b - s(15)};
        SetUpList(m_systemList, m_systemImages, headings, widths, 2);
        m_systemList.InsertColumn(2, TXT_COL_SCOPE, LVCFMT_LEFT, 2 * b);
    }

    // 2. The tree with its images and five items; both roots expanded.
    const int icon = SmallIconSizeForDpi(s.Dpi());
    m_treeImages.Create(icon, icon, kImageListFlags, 4, 4);
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

void CMainDlg::SetUpStatusPanes()
{
    int edges[std::size(kStatusPaneEdges)];
    for (size_t i = 0; i < std::size(edges); ++i)
        edges[i] = kStatusPaneEdges[i] < 0 ? -1 : m_scale(kStatusPaneEdges[i]);
    m_statusBar.SetParts(static_cast<int>(std::size(edges)), edges);
    // The pane icons are the tree's images 0 and 3, at its size.
    m_statusBar.SetIcon(0, nullptr);
    m_statusBar.SetIcon(3, nullptr);
    m_pane0Icon.Reset(m_treeImages.GetIcon(0));
    m_pane3Icon.Reset(m_treeImages.GetIcon(3));
    m_statusBar.SetIcon(0, m_pane0Icon.Get());
    m_statusBar.SetIcon(3, m_pane3Icon.Get());
}

CMainDlg::Layout CMainDlg::ComputeLayout(SIZE window, SIZE initialWindow, SIZE initialList, int treeWidth,
                                         int statusBarHeight, const CDpiScale& s)
{
    Layout layout{};
    const int listWidth = initialList.cx + window.cx - initialWindow.cx;
    const int listHeight = initialList.cy + window.cy - initialWindow.cy;
    layout.lists = {s(140), s(8), s(140) + listWidth, s(8) + listHeight};
    // The template sizes the tree in dialog units, the lists start at a
    // pixel offset: where the font's units run wide the tree would reach
    // under the lists, so it ends a gap before them.
    const int tree = std::min(treeWidth, s(140) - s(4) - s(7));
    layout.tree = {s(7), s(8), s(7) + tree, s(8) + listHeight};
    const int progressY = window.cy - s(104);
    layout.progress = {s(9), progressY, s(9) + tree - s(5), progressY + s(16)};
    const int buttonY = listHeight + s(14);
    const int newX = window.cx - s(222);
    const int deleteX = window.cx - s(117);
    layout.newButton = {newX, buttonY, newX + s(kButtonWidth), buttonY + s(kButtonHeight)};
    layout.deleteButton = {deleteX, buttonY, deleteX + s(kButtonWidth), buttonY + s(kButtonHeight)};
    layout.statusBar = {0, window.cy - statusBarHeight, window.cx, window.cy};
    return layout;
}

void CMainDlg::LayOutControls()
{
    if (!m_statusBar)
        return; // not set up (yet)
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const SIZE windowSize{RectWidth(window), RectHeight(window)};
    const Layout layout = ComputeLayout(
        windowSize, {RectWidth(m_initialWindowRect), RectHeight(m_initialWindowRect)},
        {RectWidth(m_initialListRect), RectHeight(m_initialListRect)}, RectWidth(m_tree.GetWindowRect()),
        RectHeight(m_statusBar.GetWindowRect()), m_scale);

    auto place = [](const CWindow& control, const RECT& r) {
        control.MoveWindow(r.left, r.top, RectWidth(r), RectHeight(r), true);
    };
    place(m_commandList, layout.lists);
    place(m_folderList, layout.lists);
    place(m_systemList, layout.lists);
    place(m_tree, layout.tree);

    // Columns follow the width of list 1000, which all three lists share.
    const int cw = RectWidth(m_commandList.GetClientRect());
    const int w = cw / 20;
    m_commandList.SetColumnWidth(0, 4 * w);
    m_commandList.SetColumnWidth(1, 10 * w);
    m_commandList.SetColumnWidth(2, 3 * w);
    m_commandList.SetColumnWidth(3, 3 * w);
    m_folderList.SetColumnWidth(0, 5 * w);
    m_folderList.SetColumnWidth(1, 15 * w);
    const int ws = cw / 10;
    m_systemList.SetColumnWidth(0, 3 * ws);
    m_systemList.SetColumnWidth(1, 5 * (ws - m_scale(2)));
    m_systemList.SetColumnWidth(2, 2 * (ws - m_scale(2)));

    place(m_progress, layout.progress);
    place(m_newCommandButton, layout.newButton);
    place(m_addFolderButton, layout.newButton);
    place(m_deleteCommandButton, layout.deleteButton);
    place(m_removeFolderButton, layout.deleteButton);
    place(m_statusBar, layout.statusBar);

    for (const CWindow* button : {&m_newCommandButton, &m_deleteCommandButton, &m_addFolderButton,
                                  &m_removeFolderButton})
        button->RedrawNow();
}

void CMainDlg::ShowPage(Page page)
{
    const bool commands = page == Page::commands;
    const bool folders = page == Page::folders;
    m_commandList.ShowWindow(commands ? SW_SHOW : SW_HIDE);
    m_folderList.ShowWindow(folders ? SW_SHOW : SW_HIDE);
    m_systemList.ShowWindow(page == Page::system ? SW_SHOW : SW_HIDE);
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
        m_statusBar.SetPaneText(3, CountText(ListKind::commands, m_commandList.GetItemCount()));
    } else if (text == TXT_TREE_SYSTEM) {
        ShowPage(Page::system);
        if (m_systemList.GetItemCount() == 0)
            LoadSystemCommands();
        m_statusBar.SetPaneText(3, CountText(ListKind::system, m_systemList.GetItemCount()));
    } else if (text == TXT_TREE_FAST_FOLDERS) {
        ShowPage(Page::folders);
        m_statusBar.SetPaneText(3, CountText(ListKind::folders, m_folderList.GetItemCount()));
    }
}

std::string CMainDlg::CountText(ListKind list, int count)
{
    const char* suffix = list == ListKind::commands  ? TXT_COUNT_COMMANDS
                         : list == ListKind::folders ? TXT_COUNT_FOLDERS
                                                     : TXT_COUNT_SYSTEM;
    return std::to_string(count) + suffix;
}

void CMainDlg::UpdateCountPane(ListKind list)
{
    const CListCtrl& control = list == ListKind::commands  ? m_commandList
                               : list == ListKind::folders ? m_folderList
                                                           : m_systemList;
    const std::string text = CountText(list, control.GetItemCount());
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

    deleteBitmap.Reset(LoadAppBitmap(IDB_MENU_DELETE, m_scale));
    const bool selected = list.GetFirstSelected() >= 0;
    auto grey = [&](UINT item) {
        if (!selected)
            EnableMenuItem(popup, item, MF_BYCOMMAND | MF_GRAYED);
    };
    switch (menuId) {
    case IDR_COMMAND_MENU:
        newBitmap.Reset(LoadAppBitmap(IDB_MENU_NEW_COMMAND, m_scale));
        SetItemBitmap(popup, ID_COMMAND_NEW, newBitmap.Get());
        SetItemBitmap(popup, ID_COMMAND_DELETE, deleteBitmap.Get());
        grey(ID_COMMAND_EDIT);
        grey(ID_COMMAND_DELETE);
        grey(ID_COMMAND_SECURITY);
        break;
    case IDR_FOLDER_MENU:
        newBitmap.Reset(LoadAppBitmap(IDB_MENU_ADD_FOLDER, m_scale));
        SetItemBitmap(popup, ID_FOLDER_ADD, newBitmap.Get());
        SetItemBitmap(popup, ID_FOLDER_DELETE, deleteBitmap.Get());
        grey(ID_FOLDER_EDIT);
        grey(ID_FOLDER_DELETE);
        break;
    case IDR_SYSTEM_MENU:
        SetItemBitmap(popup, ID_SYSTEM_DELETE, deleteBitmap.Get());
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

void CMainDlg::OnFolderListRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    ShowContextMenu(IDR_FOLDER_MENU, m_folderList);
}

void CMainDlg::OnSystemListRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    ShowContextMenu(IDR_SYSTEM_MENU, m_systemList);
}

void CMainDlg::OnCommandListDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnEditCommand();
}

void CMainDlg::OnFolderListDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnEditFolder();
}

void CMainDlg::OnCommandListHotTrack(NMHDR*, LRESULT* result)
{
    *result = 0;
    UpdateCountPane(ListKind::commands);
}

void CMainDlg::OnFolderListHotTrack(NMHDR*, LRESULT* result)
{
    *result = 0;
    UpdateCountPane(ListKind::folders);
}

void CMainDlg::OnSystemListHotTrack(NMHDR*, LRESULT* result)
{
    *result = 0;
    UpdateCountPane(ListKind::system);
}

void CMainDlg::OnFileNewCommand()
{
    ShowPage(Page::commands);
    OnNewCommand();
}

void CMainDlg::OnFileAddFolder()
{
    ShowPage(Page::folders);
    OnAddFolder();
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

void CMainDlg::SetMenuPictures()
{
    // The items take the new pictures before the old ones go.
    HMENU menu = GetMenu(m_hWnd);
    CBitmapHandle newCommand(LoadAppBitmap(IDB_MENU_NEW_COMMAND, m_scale));
    CBitmapHandle addFolder(LoadAppBitmap(IDB_MENU_ADD_FOLDER, m_scale));
    CBitmapHandle configuration(LoadAppBitmap(IDB_MENU_CONFIGURATION, m_scale));
    CBitmapHandle help(LoadAppBitmap(IDB_MENU_HELP, m_scale));
    CBitmapHandle shield(ShieldBitmap(m_scale));
    SetItemBitmap(menu, ID_FILE_NEW_COMMAND, newCommand.Get());
    SetItemBitmap(menu, ID_FILE_ADD_FOLDER, addFolder.Get());
    SetItemBitmap(menu, ID_OPTIONS_CONFIGURATION, configuration.Get());
    SetItemBitmap(menu, ID_HELP_HELP, help.Get());
    SetItemBitmap(menu, ID_OPTIONS_RESTART_ADMIN, shield.Get());
    m_bmpNewCommand = std::move(newCommand);
    m_bmpAddFolder = std::move(addFolder);
    m_bmpConfiguration = std::move(configuration);
    m_bmpHelp = std::move(help);
    m_bmpShield = std::move(shield);
}

void CMainDlg::OnDpiChanged(int dpi, const RECT& suggested)
{
    const int oldDpi = m_scale.Dpi();
    m_scale = CDpiScale(dpi);
    if (m_statusBar && dpi != oldDpi) {
        // Growth is measured against the set-up sizes, which were taken at
        // the old scale; the tree keeps the width the template gave it.
        auto rescaled = [&](RECT& r) {
            r.right = r.left + RescaleForDpi(RectWidth(r), oldDpi, dpi);
            r.bottom = r.top + RescaleForDpi(RectHeight(r), oldDpi, dpi);
        };
        rescaled(m_initialWindowRect);
        rescaled(m_initialListRect);
        const RECT tree = m_tree.GetWindowRect();
        SetWindowPos(m_tree.GetSafeHwnd(), nullptr, 0, 0, RescaleForDpi(RectWidth(tree), oldDpi, dpi),
                     RectHeight(tree), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

        // The tree's indent is the icon's width and a gap, set by the old scale.
        const HWND treeWindow = m_tree.GetSafeHwnd();
        TreeView_SetIndent(treeWindow, RescaleForDpi(TreeView_GetIndent(treeWindow), oldDpi, dpi));

        RescaleFonts(oldDpi, dpi);
        RebuildImages();
        SetUpStatusPanes();
        // The status bar takes the height of its new font now, so the
        // layout below measures that.
        SendMessageA(m_statusBar.GetSafeHwnd(), WM_SIZE, 0, 0);
    }
    if (dpi != oldDpi)
        SetMenuPictures();
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, RectWidth(suggested), RectHeight(suggested),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutControls();
}

void CMainDlg::RescaleFonts(int oldDpi, int dpi)
{
    const auto current = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    CFontHandle font(CreateRescaledFont(current, oldDpi, dpi));
    if (!font)
        return;
    const auto wparam = reinterpret_cast<WPARAM>(font.Get());
    SendMessageA(m_hWnd, WM_SETFONT, wparam, FALSE);
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, wparam, TRUE);
    // Only now is the old font no longer in use.
    m_font = std::move(font);
}

void CMainDlg::RebuildImages()
{
    // A new size empties each image list; the rows take their icons anew.
    const int size = SmallIconSizeForDpi(m_scale.Dpi());
    for (const CImageList* images : {&m_treeImages, &m_commandImages, &m_folderImages, &m_systemImages})
        images->SetIconSize(size);
    AddTreeImages();
    m_tree.SetImageList(m_treeImages, TVSIL_NORMAL);
    m_commandList.SetImageList(m_commandImages, LVSIL_SMALL);
    m_folderList.SetImageList(m_folderImages, LVSIL_SMALL);
    m_systemList.SetImageList(m_systemImages, LVSIL_SMALL);
    FillCommandList();
    RefreshFastFolderList();
    if (m_systemIcons) {
        // The rows ask for their icons again when they are next drawn.
        m_systemIcons = std::make_unique<CRowIconImages>(m_systemImages);
        InvalidateRect(m_systemList.GetSafeHwnd(), nullptr, TRUE);
    }
}

void CMainDlg::OnSize(UINT state, int, int)
{
    // Minimizing changes nothing the user can see; restoring lays out again.
    if (m_show && state != SIZE_MINIMIZED)
        LayOutControls();
}

void CMainDlg::OnWindowPosChanging(WINDOWPOS& pos)
{
    if (!m_show)
        pos.flags &= ~SWP_SHOWWINDOW;
}

void CMainDlg::OnSizing(UINT, RECT&)
{
    // No minimum or maximum of its own.
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
    m_folderList.DeleteAllItems();
    m_systemList.DeleteAllItems();
    m_tree.DeleteAllItems();
    m_statusBar.SetIcon(0, nullptr);
    m_statusBar.SetIcon(3, nullptr);
    m_systemIcons.reset(); // it adds to the image list below
    for (CImageList* images : {&m_treeImages, &m_commandImages, &m_folderImages, &m_systemImages})
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
