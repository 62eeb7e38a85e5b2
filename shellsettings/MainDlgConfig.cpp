// The main window's Options, "Configuration..." command.
#include "app/MainDlg.h"
#include "shellsettings/ConfigSheet.h"

void CMainDlg::ShowConfiguration()
{
    CConfigTab1 verbPage;
    CConfigTab2 extensionPage;
    CConfigTab3 runPage;
    CConfigPropSheet sheet(verbPage, extensionPage, runPage);
    sheet.DoModal();
}
