#pragma once
// The main window: a tree that picks one of three pages (My Commands, Fast
// Folders, System Commands), each a list with its buttons, a menu bar, three
// context menus and a status bar. Handlers live with the subsystem that
// owns the operation: app/ (window, listing, help, command deletion),
// catalogue/MainDlgCommands.cpp, fastfolders/MainDlgFastFolders.cpp,
// systemcmds/MainDlgSystem.cpp and shellsettings/.
#include "catalogue/NewCommandDlg.h"
#include "fastfolders/NewFastFolderDlg.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/DpiScale.h"
#include "framework/Handles.h"
#include "regbackup/AppPathsBackup.h"

#include <map>
#include <memory>
#include <string>
#include <vector>


class CRowIconImages;

class CMainDlg : public CDialog, public ICommandEditorHost, public IFolderEditorHost {
public:
    enum class Page { commands, folders, system };
    enum class ListKind { commands, folders, system };
    static constexpr int kFastFolderSlots = 10;

    explicit CMainDlg(HWND parent = nullptr);
    ~CMainDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(bool save) override;
    // F1 opens the help file.
    bool OnHelpKey() override;

    // Pane 3 of the status bar; editors write their tips here.
    void SetStatusTip(const std::string& text) override;

    // Rebuilding the lists (each whole, from its store).
    void FillCommandList() override;
    void AddCommandRow(const std::string& cfgPath, CommandScope scope = CommandScope::machine);
    // The image of a target's icon in the My Commands image list (-1: none).
    int CommandImage(const std::string& target);
    void AddFastFolderRow(const std::string& alias, const std::string& path);
    void RefreshFastFolderList() override;
    void LoadSystemCommands();
    // Writes the list's count text to pane 3 when it differs from the shown one.
    void UpdateCountPane(ListKind list);

    // System Commands store (App Paths entries of other software).
    int CountAppPathsEntries();
    // Backs the entry up, then deletes it whole.
    DeleteResult DeleteAppPathsEntry(const std::string& name, CommandScope scope = CommandScope::machine);

    // Help file at its default topic (menu Help "Help", F1).
    void ShowHelp();

    // The show flag: false while the window must stay hidden (path mode).
    bool IsShowing() const { return m_show; }
    void SetShowing(bool show) { m_show = show; }

    // The controls, for the subsystems' handlers and for tests.
    const CListCtrl& CommandList() const { return m_commandList; }
    const CListCtrl& FolderList() const { return m_folderList; }
    const CListCtrl& SystemList() const { return m_systemList; }
    const CTreeCtrl& Tree() const { return m_tree; }
    const CProgressCtrl& Progress() const { return m_progress; }
    const CStatusBarCtrl& StatusBar() const { return m_statusBar; }
    const CImageList& CommandImages() const { return m_commandImages; }
    const CImageList& FolderImages() const { return m_folderImages; }
    const CImageList& SystemImages() const { return m_systemImages; }
    const std::string& FolderAlias(int index) const { return m_folderAliases[index]; }
    const std::string& FolderPath(int index) const { return m_folderPaths[index]; }

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
    // The scale the window is laid out at (its DPI; a DPI change moves it).
    const CDpiScale& Scale() const { return m_scale; }

    // Status tip of a menu item; empty for any other item.
    static const char* MenuTip(UINT id);
    // Count text of a list for pane 3.
    static std::string CountText(ListKind list, int count);

    DECLARE_ROUTES()

    // ---- window, page switching, layout, menus (app/MainDlg.cpp) ----
    void OnCreate();
    void OnSize(UINT state, int clientWidth, int clientHeight);
    void OnWindowPosChanging(WINDOWPOS& pos);
    void OnSizing(UINT edge, RECT& dragRect);
    void OnMenuSelect(const MenuSelection& selection);
    bool OnPaint();
    HICON OnQueryDragIcon();
    void OnDestroy();
    // Moved to a monitor of another scale: the suggested rectangle, fonts,
    // image lists, pictures and layout at the new DPI.
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnCommandListRClick(NMHDR* header, LRESULT* result);
    void OnFolderListRClick(NMHDR* header, LRESULT* result);
    void OnSystemListRClick(NMHDR* header, LRESULT* result);
    void OnCommandListDblClk(NMHDR* header, LRESULT* result);
    void OnFolderListDblClk(NMHDR* header, LRESULT* result);
    void OnCommandListHotTrack(NMHDR* header, LRESULT* result);
    void OnCommandListGetInfoTip(NMHDR* header, LRESULT* result);
    // The tip of a My Commands row: which file wins over its name, if any.
    std::string CommandRowTip(int row);
    void OnFolderListHotTrack(NMHDR* header, LRESULT* result);
    void OnSystemListHotTrack(NMHDR* header, LRESULT* result);
    void OnSystemListGetDispInfo(NMHDR* header, LRESULT* result);
    void OnFileNewCommand();
    void OnFileAddFolder();
    void OnFileExit();
    void OnFrameworkHelp();

    void StartNormalMode();
    void SetUpControls();
    void SetUpList(CListCtrl& list, CImageList& images, const char* const* headings, const int* widths,
                   int columns);
    void LayOutControls();
    void AddTreeImages();
    void SetUpStatusPanes();
    void SetMenuPictures();
    void RescaleFonts(int oldDpi, int dpi);
    void RebuildImages();
    void ShowPage(Page page);
    void CleanUp();
    void ShowContextMenu(UINT menuId, const CListCtrl& list);

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

    // ---- Fast Folders (fastfolders/MainDlgFastFolders.cpp) ----
    void OnAddFolder();
    void OnEditFolder();
    void OnDeleteFolder();

    // ---- System Commands (systemcmds/MainDlgSystem.cpp) ----
    void OnSystemReload();
    void OnSystemDelete();
    // "Restore deleted...": the backups in a dialog; the restored entry is
    // selected in the reloaded list.
    void OnSystemRestore();

    // ---- export and import (transfer/MainDlgTransfer.cpp) ----
    void OnFileExport();
    void OnFileImport();

    // ---- Configuration sheet (shellsettings/) ----
    void ShowConfiguration();

    // ---- elevation on demand (app/MainDlgElevation.cpp) ----
    void OnRestartAsAdministrator();
    // The page in front, as the option that brings it back.
    std::string CurrentPageOption() const;
    // Without administrator rights: says that this needs them and where to
    // get them, and returns false.
    bool RequireElevation(const char* action) const;

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
    CImageList m_folderImages;
    CImageList m_systemImages;
    CTreeCtrl m_tree;
    CWindow m_newCommandButton;
    CWindow m_deleteCommandButton;
    std::string m_folderAliases[kFastFolderSlots];
    std::string m_folderPaths[kFastFolderSlots];
    bool m_show = false;
    CListCtrl m_folderList;
    CWindow m_addFolderButton;
    CWindow m_removeFolderButton;
    CListCtrl m_systemList;
    // Each System Commands row's full App Paths key name, so deleting
    // addresses the row's own key, and what its icon is chosen for; a row's
    // item data is its index here.
    struct SystemRow {
        std::string keyName;
        CommandScope scope;
        std::string iconTarget;
    };
    std::vector<SystemRow> m_systemRows;
    // Icons are extracted when the list first draws a row, not for every
    // entry of a load: most rows of a long list are never seen.
    std::unique_ptr<CRowIconImages> m_systemIcons;
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
};
