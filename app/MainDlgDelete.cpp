// Deleting the selected command and opening its shortcut's properties.
#include "app/MainDlg.h"
#include "app/ShellOpen.h"

#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "framework/AppInfo.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"

#include <shellapi.h>

void CMainDlg::OnDeleteCommand()
{
    const int row = m_commandList.GetFirstSelected();
    if (row < 0)
        return;
    const std::string name = m_commandList.GetItemText(row, 0);
    const std::string question = LoadAppString(IDS_ASK_DELETE_COMMAND) + " " + name + "?";
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!DeleteCommand(name))
        AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
    FillCommandList();
}

void CMainDlg::OnCommandProperties()
{
    const int row = m_commandList.GetFirstSelected();
    if (row < 0)
        return;
    ShellRequest request;
    request.extended = true;
    request.mask = SEE_MASK_INVOKEIDLIST;
    request.owner = GetAppMainWindow();
    request.verb = "properties";
    request.file = CommandLinkPath(m_commandList.GetItemText(row, 0));
    request.show = SW_SHOW;
    ShellOpen(request); // the shell reports its own failures
}
