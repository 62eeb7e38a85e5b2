// Deleting the selected command and opening its shortcut's properties;
// both, and editing, first check the name the row read from its file.
#include "app/MainDlg.h"
#include "app/ShellOpen.h"

#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "framework/AppInfo.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"

#include <shellapi.h>

bool CMainDlg::SelectedCommandName(std::string& name)
{
    const int row = m_commandList.GetFirstSelected();
    if (row < 0)
        return false;
    name = m_commandList.GetItemText(row, 0);
    // The name comes from a file anyone may have written: a path or key
    // built from "x\..\..\name" would reach outside the Cmds folder.
    if (IsLegalCommandName(name))
        return true;
    const LPARAM file = m_commandList.GetItemData(row);
    const std::string path =
        file >= 0 && static_cast<size_t>(file) < m_commandFiles.size() ? m_commandFiles[static_cast<size_t>(file)] : "";
    AppMessageBox(TXT_INVALID_NAME_BEFORE + path + TXT_INVALID_NAME_AFTER, MB_OK | MB_ICONINFORMATION);
    return false;
}

void CMainDlg::OnDeleteCommand()
{
    std::string name;
    if (!SelectedCommandName(name))
        return;
    const std::string question = LoadAppString(IDS_ASK_DELETE_COMMAND) + " " + name + "?";
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!DeleteCommand(name))
        AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
    FillCommandList();
}

void CMainDlg::OnCommandProperties()
{
    std::string name;
    if (!SelectedCommandName(name))
        return;
    ShellRequest request;
    request.extended = true;
    request.mask = SEE_MASK_INVOKEIDLIST;
    request.owner = GetAppMainWindow();
    request.verb = "properties";
    request.file = CommandLinkPath(name);
    request.show = SW_SHOW;
    ShellOpen(request); // the shell reports its own failures
}
