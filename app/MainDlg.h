#pragma once
// The main window: a tree that picks one of three pages (My Commands, Fast
// Folders, System Commands), each a list with its buttons, a menu bar, three
// context menus and a status bar. The window is the frame (tree, status
// bar, progress bar, layout, DPI, menus) and owns the pages; each feature
// folder provides its page on the frame's IPageHost (catalogue/CommandsPage,
// fastfolders/FoldersPage, systemcmds/SystemPage) and its menu commands
// likewise (transfer/TransferCommands, shellsettings/ConfigurationCommand).
#include "catalogue/CommandsPage.h"
#include "fastfolders/FoldersPage.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/DpiScale.h"
#include "framework/Handles.h"
#include "framework/PageHost.h"
#include "shellsettings/ConfigurationCommand.h"
#include "systemcmds/SystemPage.h"
#include "transfer/TransferCommands.h"

#include <string>

class CMainDlg : public CDialog, public IPageHost, public ITransferHost {
public:
    enum class Page { commands, folders, system };

    explicit CMainDlg(HWND parent = nullptr);
    ~CMainDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(bool save) override;
    // F1 opens the help file.
    bool OnHelpKey() override;

    // Pane 3 of the status bar; editors write their tips here.
    void SetStatusTip(const std::wstring& text) override;

    // ---- what the pages have of the frame (IPageHost) ----
    HWND OwnerWindow() const override { return m_hWnd; }
    void ShowCount(const std::wstring& text) override;
    const CProgressCtrl& Progress() const override { return m_progress; }
    // The scale the window is laid out at (its DPI; a DPI change moves it).
    const CDpiScale& Scale() const override { return m_scale; }
    bool RequireElevation(const wchar_t* action) const override;
    void ShowContextMenu(UINT menuId, const CListCtrl& list) override;

    // ---- what the transfer commands have of it (ITransferHost) ----
    void ReloadStores() override;

    CCommandsPage& CommandsPage() { return m_commands; }
    CFoldersPage& FoldersPage() { return m_folders; }
    CSystemPage& SystemPage() { return m_system; }

    // Help file at its default topic (menu Help "Help", F1).
    void ShowHelp();

    // The show flag: false while the window must stay hidden (path mode).
    bool IsShowing() const { return m_show; }
    void SetShowing(bool show) { m_show = show; }

    // The frame's controls, for tests.
    const CTreeCtrl& Tree() const { return m_tree; }
    const CStatusBarCtrl& StatusBar() const { return m_statusBar; }

    // Layout arithmetic, platform-free: where each control goes for a
    // window of the given size, measured against the set-up rectangles.
    struct Layout {
        RECT lists;     // lists 1000, 1003, 1006
        RECT tree;
        RECT progress;
        RECT newButton; // 1001 and 1004
        RECT deleteButton; // 1002 and 1005
        RECT statusBar;
    };
    // Its pixel figures are for 96 DPI and scaled by the window's scale.
    static Layout ComputeLayout(SIZE window, SIZE initialWindow, SIZE initialList, int treeWidth,
                                int statusBarHeight, const CDpiScale& scale = CDpiScale());

    // Status tip of a menu item; empty for any other item.
    static const wchar_t* MenuTip(UINT id);

    DECLARE_ROUTES()

    // ---- window and page switching (app/MainDlg.cpp) ----
    void OnCreate();
    void OnWindowPosChanging(WINDOWPOS& pos);
    bool OnPaint();
    HICON OnQueryDragIcon();
    void OnDestroy();
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnFileNewCommand();
    void OnFileAddFolder();
    void OnFileExit();
    void OnFrameworkHelp();

    void StartNormalMode();
    void SetUpControls();
    void AddTreeImages();
    void ShowPage(Page page);
    void CleanUp();

    // ---- layout and DPI (app/MainDlgLayout.cpp) ----
    void OnSize(UINT state, int clientWidth, int clientHeight);
    void OnSizing(UINT edge, RECT& dragRect);
    // Moved to a monitor of another scale: the suggested rectangle, fonts,
    // image lists, pictures and layout at the new DPI.
    void OnDpiChanged(int dpi, const RECT& suggested);
    void LayOutControls();
    void SetUpStatusPanes();
    void RescaleFonts(int oldDpi, int dpi);
    void RebuildImages();

    // ---- menus: pictures, tips, context menus (app/MainDlgMenus.cpp) ----
    void SetMenuPictures();
    void OnMenuSelect(const MenuSelection& selection);

    // ---- help and About (app/MainDlgHelp.cpp) ----
    void OnTechSupport();
    void OnHomePage();
    void OnAbout();

    // ---- elevation on demand (app/MainDlgElevation.cpp) ----
    void OnRestartAsAdministrator();
    // The page in front, as the option that brings it back.
    std::wstring CurrentPageOption() const;

    // ---- state, in the order the window keeps it ----
    HICON m_icon = nullptr; // a shared resource icon: not destroyed
    CDpiScale m_scale;
    // The dialog font remade for a new DPI; until then the template's.
    CFontHandle m_font;
    RECT m_initialWindowRect{};
    RECT m_initialListRect{};
    CImageList m_treeImages;
    CTreeCtrl m_tree;
    CWindow m_newCommandButton;
    CWindow m_deleteCommandButton;
    bool m_show = false;
    CWindow m_addFolderButton;
    CWindow m_removeFolderButton;
    CProgressCtrl m_progress;
    CBitmapHandle m_bmpConfiguration; // 316
    CBitmapHandle m_bmpHelp;          // 315
    CBitmapHandle m_bmpNewCommand;    // 294
    CBitmapHandle m_bmpAddFolder;     // 321
    CBitmapHandle m_bmpShield;        // the system's, for the restart
    CStatusBarCtrl m_statusBar;
    CIconHandle m_pane0Icon;
    CIconHandle m_pane3Icon;
    std::wstring m_commandLine;
    std::wstring m_pendingMessage;

    // The pages and menu commands, on this window as their host.
    CCommandsPage m_commands{*this};
    CFoldersPage m_folders{*this};
    CSystemPage m_system{*this};
    CConfigurationCommand m_configuration{*this};
    CTransferCommands m_transfer{*this};
};
