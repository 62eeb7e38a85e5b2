#pragma once
// The main window's System Commands page: App Paths entries of other
// software, listed with the frame's progress bar, reloaded, deleted after a
// warning (each saved to a backup first) and restored from those backups.
#include "catalogue/CommandPaths.h"
#include "framework/ListPage.h"
#include "framework/PageHost.h"
#include "regbackup/AppPathsBackup.h"

#include <memory>
#include <string>
#include <vector>

class CRowIconImages;

class CSystemPage : public CListPage {
public:
    explicit CSystemPage(IPageHost& host);
    ~CSystemPage();

    // Columns at the list's set-up width.
    void SetUp();
    // Column widths for the width the frame gives all lists.
    void FitColumns(int clientWidth) const;
    // The frame's scale changed: images at the new size, asked for anew.
    void OnScaleChanged();
    void CleanUp();

    void LoadSystemCommands();
    int CountAppPathsEntries();
    // Backs the entry up, then deletes it whole.
    DeleteResult DeleteAppPathsEntry(const std::wstring& keyName, CommandScope scope = CommandScope::machine);

    // Routed by the frame.
    void OnSystemReload();
    void OnSystemDelete();
    // "Restore deleted...": the backups in a dialog; the restored entry is
    // selected in the reloaded list.
    void OnSystemRestore();
    void OnRClick(NMHDR* header, LRESULT* result);
    void OnHotTrack(NMHDR* header, LRESULT* result);
    void OnGetDispInfo(NMHDR* header, LRESULT* result);

private:
    // Each row's full App Paths key name, so deleting addresses the row's
    // own key, and what its icon is chosen for; a row's item data is its
    // index here.
    struct SystemRow {
        std::wstring keyName;
        CommandScope scope;
        std::wstring iconTarget;
    };
    std::vector<SystemRow> m_systemRows;
    // Icons are extracted when the list first draws a row, not for every
    // entry of a load: most rows of a long list are never seen.
    std::unique_ptr<CRowIconImages> m_systemIcons;
};
