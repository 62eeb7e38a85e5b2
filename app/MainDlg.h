#pragma once
// The main window: a tree that picks one of three pages (My Commands, Fast
// Folders, System Commands), each a list with its buttons, a menu bar, three
// context menus and a status bar. The window is the frame (tree, status
// bar, progress bar, layout, DPI) and owns the pages; each feature folder
// provides its page on the frame's IPageHost (fastfolders/FoldersPage,
// systemcmds/SystemPage, shellsettings/ConfigurationCommand). My Commands
// and the transfer handlers are still the window's own: app/ (listing,
// command deletion), catalogue/MainDlgCommands.cpp and transfer/.
#include "catalogue/NewCommandDlg.h"
#include "fastfolders/FoldersPage.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/DpiScale.h"
#include "framework/Handles.h"
#include "framework/PageHost.h"
#include "shellsettings/ConfigurationCommand.h"
#include "systemcmds/SystemPage.h"

#include <map>
#include <string>
#include <vector>

class CMainDlg : public CDialog, public ICommandEditorHost, public IPageHost {
public:
    enum class Page { commands, folders, system };

    explicit CMainDlg(HWND parent = nullptr);
    ~CMainDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(bool save) override;
    // F1 opens the help file.
    bool OnHelpKey() override;

    // Pane 3 of the status bar; editors write their tips here.
    void SetStatusTip(const std::string& text) override;

    // ---- what the pages have of the frame (IPageHost) ----
    HWND OwnerWindow() const override { return m_hWnd; }
    void ShowCount(const std::string& text) override;
    const CProgressCtrl& Progress() const override { return m_progress; }
    // The scale the window is laid out at (its DPI; a DPI change moves it).
    const CDpiScale& Scale() const override { return m_scale; }
    bool RequireElevation(const char* action) const override;
    void ShowContextMenu(UINT menuId, const CListCtrl& list) override;

    CFoldersPage& FoldersPage() { return m_folders; }
    CSystemPage& SystemPage() { return m_system; }

    // Rebuilding the lists (each whole, from its store).
    void FillCommandList() override;
    void AddCommandRow(const std::string& cfgPath, CommandScope scope = CommandScope::machine);
    // The image of a target's icon in the My Commands image list (-1: none).
    int CommandImage(const std::string& target);
    void RefreshFastFolderList() { m_folders.RefreshFastFolderList(); }
    void LoadSystemCommands() { m_system.LoadSystemCommands(); }
    // Count text of My Commands for pane 3.
    std::string CommandCountText() const;

    // Help file at its default topic (menu Help "Help", F1).
    void ShowHelp();

    // The show flag: false while the window must stay hidden (path mode).
    bool IsShowing() const { return m_show; }
    void SetShowing(bool show) { m_show = show; }

    // The frame's controls, for tests.
    const CListCtrl& CommandList() const { return m_commandList; }
    const CTreeCtrl& Tree() const { return m_tree; }
    const CStatusBarCtrl& StatusBar() const { return m_statusBar; }
    const CImageList& CommandImages() const { return m_commandImages; }

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
    static const char* MenuTip(UINT id);

    DECLARE_ROUTES()

    // ---- window, page switching, menus, My Commands' notifications (app/MainDlg.cpp) ----
    void OnCreate();
    void OnWindowPosChanging(WINDOWPOS& pos);
    void OnMenuSelect(const MenuSelection& selection);
    bool OnPaint();
    HICON OnQueryDragIcon();
    void OnDestroy();
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnCommandListRClick(NMHDR* header, LRESULT* result);
    void OnCommandListDblClk(NMHDR* header, LRESULT* result);
    void OnCommandListHotTrack(NMHDR* header, LRESULT* result);
    void OnCommandListGetInfoTip(NMHDR* header, LRESULT* result);
    // The tip of a My Commands row: which file wins over its name, if any.
    std::string CommandRowTip(int row);
    void OnFileNewCommand();
    void OnFileAddFolder();
    void OnFileExit();
    void OnFrameworkHelp();

    void StartNormalMode();
    void SetUpControls();
    void AddTreeImages();
    void ShowPage(Page page);
    void CleanUp();

    // ---- layout, DPI and menu pictures (app/MainDlgLayout.cpp) ----
    void OnSize(UINT state, int clientWidth, int clientHeight);
    void OnSizing(UINT edge, RECT& dragRect);
    // Moved to a monitor of another scale: the suggested rectangle, fonts,
    // image lists, pictures and layout at the new DPI.
    void OnDpiChanged(int dpi, const RECT& suggested);
    void LayOutControls();
    void SetUpStatusPanes();
    void SetMenuPictures();
    void RescaleFonts(int oldDpi, int dpi);
    void RebuildImages();

    // ---- help and About (app/MainDlgHelp.cpp) ----
    void OnTechSupport();
    void OnHomePage();
    void OnAbout();

    // ---- command deletion and properties (app/MainDlgDelete.cpp) ----
    void OnDeleteCommand();
    void OnCommandProperties();
    // The selected row's command name and scope, when the name is one that
    // paths and keys may be built from; a row whose file names no valid
    // command is refused with a message naming the file. False: no
    // selection or refused.
    bool SelectedCommand(std::string& name, CommandScope& scope);

    // ---- new and edit command (catalogue/MainDlgCommands.cpp) ----
    void OnNewCommand();
    void OnEditCommand();

    // ---- export and import (transfer/MainDlgTransfer.cpp) ----
    void OnFileExport();
    void OnFileImport();

    // ---- elevation on demand (app/MainDlgElevation.cpp) ----
    void OnRestartAsAdministrator();
    // The page in front, as the option that brings it back.
    std::string CurrentPageOption() const;

    // ---- state, in the order the window keeps it ----
    HICON m_icon = nullptr; // a shared resource icon: not destroyed
    CDpiScale m_scale;
    // The dialog font remade for a new DPI; until then the template's.
    CFontHandle m_font;
    RECT m_initialWindowRect{};
    RECT m_initialListRect{};
    CListCtrl m_commandList;
    CImageList m_treeImages;
    CImageList m_commandImages;
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
    std::string m_commandLine;
    std::string m_pendingMessage;

    // Within one fill of My Commands, rows whose icon comes from the same
    // file and index share one image, and each target and each extension
    // is looked up once.
    struct TypeIconAnswer {
        bool found;
        std::string file;
        int index;
    };
    std::map<std::string, int> m_commandIconImages; // by file and index
    std::map<std::string, int> m_targetImages;      // by target
    std::map<std::string, TypeIconAnswer> m_typeIconAnswers;
    // Properties file and scope of each My Commands row; a row's item data
    // is its index here.
    struct CommandRow {
        std::string file;
        CommandScope scope;
    };
    std::vector<CommandRow> m_commandRows;

    // The pages, on this window as their host.
    CFoldersPage m_folders{*this};
    CSystemPage m_system{*this};
    CConfigurationCommand m_configuration{*this};
};
