// The main window's New Command and Edit handlers.
#include "app/MainDlg.h"

void CMainDlg::OnNewCommand()
{
    CNewCommandDlg dialog = CNewCommandDlg::ForNew(*this);
    dialog.DoModal();
}

void CMainDlg::OnEditCommand()
{
    const int row = m_commandList.GetFirstSelected();
    if (row < 0)
        return;
    // The OK handler has rebuilt the list by the time the dialog returns.
    CNewCommandDlg dialog = CNewCommandDlg::ForEdit(*this, m_commandList.GetItemText(row, 0));
    dialog.DoModal();
}
