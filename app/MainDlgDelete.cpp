// Deleting the selected command and opening its shortcut's properties;
// both, and editing, first check the name the row read from its file.
#include "app/MainDlg.h"
#include "services/ShellOpen.h"

#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "catalogue/OtherProgramEntry.h"
#include "framework/AppInfo.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"

#include <shellapi.h>

bool CMainDlg::SelectedCommand(std::string& name, CommandScope& scope)
{
    const int row = m_commandList.GetFirstSelected();
    const std::optional<size_t> index = m_commandList.GetItemIndex(row, m_commandRows.size());
    if (!index)
        return false;
    const CommandRow& entry = m_commandRows[*index];
    name = m_commandList.GetItemText(row, 0);
    scope = entry.scope;
    // The name comes from a file anyone may have written: a path or key
    // built from "x\..\..\name" would reach outside the Cmds folder.
    if (IsLegalCommandName(name))
        return true;
    AppMessageBox(TXT_INVALID_NAME_BEFORE + entry.file + TXT_INVALID_NAME_AFTER, MB_OK | MB_ICONINFORMATION);
    return false;
}

void CMainDlg::OnDeleteCommand()
{
    std::string name;
    CommandScope scope = CommandScope::machine;
    if (!SelectedCommand(name, scope))
        return;
    if (scope == CommandScope::machine && !RequireElevation(TXT_ACTION_DELETE_MACHINE_COMMAND))
        return;
    const std::string question = LoadAppString(IDS_ASK_DELETE_COMMAND) + " " + name + "?";
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::string note = ReplacedEntryNoteOf(name, scope);
    OtherProgramEntry kept;
    if (!DeleteCommand(name, scope, &kept))
        AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
    AfterCommandDeleted(name, scope, note, kept);
    FillCommandList();
}

void CMainDlg::OnCommandProperties()
{
    std::string name;
    CommandScope scope = CommandScope::machine;
    if (!SelectedCommand(name, scope))
        return;
    ShellRequest request;
    request.extended = true;
    request.mask = SEE_MASK_INVOKEIDLIST;
    request.owner = GetAppMainWindow();
    request.verb = "properties";
    request.file = CommandLinkPath(name, scope);
    request.show = SW_SHOW;
    ShellOpen(request); // the shell reports its own failures
}
