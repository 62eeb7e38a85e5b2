#pragma once
// The Restore Deleted System Command dialog: the backups newest first
// (entry, scope, time); Restore (or a double click) puts the chosen one
// back and closes the dialog, a refusal leaves it open.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "regbackup/AppPathsBackup.h"

#include <vector>

class CRestoreDlg : public CDialog {
public:
    explicit CRestoreDlg(HWND parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    // After IDOK: the entry that was written back.
    const AppPathsBackup& Restored() const { return m_restored; }
    const CListCtrl& List() const { return m_list; }

    DECLARE_ROUTES()

    void OnListDblClk(NMHDR* header, LRESULT* result);
    void OnListItemChanged(NMHDR* header, LRESULT* result);

    std::vector<AppPathsBackup> m_backups;
    AppPathsBackup m_restored;
    CListCtrl m_list;
};
