// The main window's New Command and Edit handlers.
#include "app/MainDlg.h"

void CMainDlg::OnNewCommand()
{
    CNewCommandDlg dialog = CNewCommandDlg::ForNew(*this);
    dialog.DoModal();
}

void CMainDlg::OnEditCommand()
{
    std::string name;
    CommandScope scope = CommandScope::machine;
    if (!SelectedCommand(name, scope))
        return;
    // The OK handler has rebuilt the list by the time the dialog returns.
    CNewCommandDlg dialog = CNewCommandDlg::ForEdit(*this, name, scope);
    dialog.DoModal();
}
