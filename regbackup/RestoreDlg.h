#pragma once
// The Restore Deleted System Command dialog: the backups newest first
// (entry, scope, time), so the entries a clean-up removed together stand
// together; Restore (or a double click) puts every selected one back and
// closes the dialog; when none could be, it stays open.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "regbackup/AppPathsBackup.h"

#include <vector>

class CRestoreDlg : public CDialog {
public:
    explicit CRestoreDlg(HWND parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    // After IDOK: the entries that were written back.
    const std::vector<AppPathsBackup>& Restored() const { return m_restored; }
    const CListCtrl& List() const { return m_list; }

    DECLARE_ROUTES()

    void OnListDblClk(NMHDR* header, LRESULT* result);
    void OnListItemChanged(NMHDR* header, LRESULT* result);

    std::vector<AppPathsBackup> m_backups;
    std::vector<AppPathsBackup> m_restored;
    CListCtrl m_list;
};
