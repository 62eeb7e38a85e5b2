#include "regbackup/RestoreDlg.h"

#include "apppaths/AppPathsScope.h"
#include "framework/Elevation.h"
#include "regbackup/RestoreQuestion.h"
#include "resources/RestoreBackupIds.h"
#include "resources/Texts.h"

#include <commctrl.h>

BEGIN_ROUTES(CRestoreDlg, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_RB_LIST, OnListDblClk)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_RB_LIST, OnListItemChanged)
END_ROUTES()

CRestoreDlg::CRestoreDlg(HWND parent) : CDialog(IDD_RESTORE_BACKUP, parent) {}

BOOL CRestoreDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.Attach(GetDlgItem(IDC_RB_LIST));
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    const wchar_t* const headings[] = {TXT_RB_COL_ENTRY, TXT_COL_SCOPE, TXT_RB_COL_DELETED};
    for (int column = 0; column < 3; ++column)
        m_list.InsertColumn(column, headings[column], LVCFMT_LEFT, 0);

    m_backups = ListAppPathsBackups();
    for (size_t i = 0; i < m_backups.size(); ++i) {
        const AppPathsBackup& backup = m_backups[i];
        const int row = m_list.InsertItem(static_cast<int>(i), backup.shownName, -1, static_cast<LPARAM>(i));
        m_list.SetItemText(row, 1, backup.problem.empty() ? ScopeText(backup.scope) : TXT_RB_UNUSABLE);
        m_list.SetItemText(row, 2, BackupDateText(backup.stamp));
    }
    // Widths from the texts and headings: no pixel counts that a DPI would upset.
    for (int column = 0; column < 3; ++column)
        m_list.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);

    const std::wstring folders =
        BackupFolder(CommandScope::user) + TXT_RB_LABEL_MIDDLE + BackupFolder(CommandScope::machine);
    SetDlgItemTextW(m_hWnd, IDC_RB_LABEL,
                    (m_backups.empty() ? TXT_RB_LABEL_NONE + folders + L"."
                                       : TXT_RB_LABEL_BEFORE + folders + TXT_RB_LABEL_AFTER)
                        .c_str());
    if (!m_backups.empty())
        m_list.SelectItem(0);
    CWindow(GetDlgItem(IDOK)).EnableWindow(!m_backups.empty());
    SetFocus(m_list.GetSafeHwnd());
    return FALSE; // the focus is set
}

void CRestoreDlg::OnOK()
{
    std::vector<size_t> chosen;
    bool machine = false;
    for (int row = m_list.GetFirstSelected(); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED)) {
        if (const std::optional<size_t> index = m_list.GetItemIndex(row, m_backups.size())) {
            chosen.push_back(*index);
            machine = machine || m_backups[*index].scope == CommandScope::machine;
        }
    }
    // Said once for all the chosen entries, not once for each.
    if (chosen.size() > 1 && machine && !RequireElevation(NeedsAdministratorText(TXT_ACTION_RESTORE_MACHINE_ENTRY)))
        return;
    m_restored.clear();
    for (const size_t index : chosen) {
        if (RestoreBackupAsking(m_backups[index]))
            m_restored.push_back(m_backups[index]);
    }
    if (!m_restored.empty())
        EndDialog(IDOK);
}

void CRestoreDlg::OnListDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnOK();
}

void CRestoreDlg::OnListItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    CWindow(GetDlgItem(IDOK)).EnableWindow(m_list.GetFirstSelected() >= 0);
}
