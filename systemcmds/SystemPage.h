#pragma once
// The main window's System Commands page: App Paths entries of other
// software, listed with the frame's progress bar, reloaded, deleted after a
// warning (each saved to a backup first) and restored from those backups.
// A status pass on a worker thread tells what is wrong with each row after
// every reload; the broken ones can be cleared away together.
#include "catalogue/CommandPaths.h"
#include "framework/ListPage.h"
#include "framework/PageHost.h"
#include "regbackup/AppPathsBackup.h"
#include "systemcmds/EntryStatusRules.h"
#include "systemcmds/StatusPass.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CRowIconImages;

// The status pass's batches, posted to the frame and routed to the page.
inline constexpr UINT kSystemStatusMessage = WM_APP + 27;

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
    // A header click sorts by that column; the same one again reverses.
    void OnColumnClick(NMHDR* header, LRESULT* result);
    BOOL OnStatusBatch(WPARAM, LPARAM batch, LRESULT& result);
    // "Remove broken entries...": the broken rows offered in a dialog, the
    // chosen ones backed up (one stamp for all) and deleted.
    void OnSystemCleanUp();

    // The row count and the page's noun; once the pass has ended also how
    // many rows are broken: "412 system command(s), 17 broken".
    std::wstring CountText() const;
    // Every row's status has arrived.
    bool StatusesKnown() const { return m_statusesKnown; }

private:
    // Each row's full App Paths key name, so deleting addresses the row's
    // own key, what it shows and is sorted by, and what its icon is chosen
    // for; a row's item data is its index here.
    struct SystemRow {
        std::wstring keyName;
        CommandScope scope;
        std::wstring displayName;
        std::wstring path;
        std::wstring iconTarget;
        std::optional<EntryStatus> status; // until the pass tells
        bool listed = true;                // false once deleted from the list
    };
    void SetRowStatus(SystemRow& row, EntryStatus status);
    void StartStatusPass();
    // Frees the batches already posted: each owns its memory.
    void DropPostedBatches() const;
    void SortRows() const;
    void ShowSortArrow() const;
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM page);

    std::vector<SystemRow> m_systemRows;
    CStatusPass m_pass;
    unsigned m_generation = 0;
    bool m_statusesKnown = false;
    int m_brokenRows = 0;
    int m_sortColumn = -1; // none: the registry's order
    bool m_sortReverse = false;
    // Icons are extracted when the list first draws a row, not for every
    // entry of a load: most rows of a long list are never seen.
    std::unique_ptr<CRowIconImages> m_systemIcons;
};
