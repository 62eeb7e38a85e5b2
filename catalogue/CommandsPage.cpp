#include "catalogue/CommandsPage.h"

#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "catalogue/ReplacedEntry.h"
#include "framework/AppInfo.h"
#include "framework/CodePage.h"
#include "framework/MessageBox.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"
#include "services/ShellOpen.h"

#include <shellapi.h>

CCommandsPage::CCommandsPage(IPageHost& host) : CListPage(host, IDC_COMMAND_LIST, TXT_COUNT_COMMANDS) {}

void CCommandsPage::SetUp()
{
    const CDpiScale& s = m_host.Scale();
    const int b = RectWidth(m_list.GetClientRect()) / 10;
    SetUpList({{TXT_COL_COMMAND, 2 * b + s(5)}, {TXT_COL_PATH, 5 * b}, {TXT_COL_PARAMETERS, 2 * b - s(5)},
               {TXT_COL_SCOPE, b}});
    // A row whose name Windows answers with a file of its own says so.
    m_list.SetExtendedStyle(LVS_EX_INFOTIP);
}

void CCommandsPage::FitColumns(int clientWidth) const
{
    const int w = clientWidth / 20;
    m_list.SetColumnWidth(0, 4 * w);
    m_list.SetColumnWidth(1, 10 * w);
    m_list.SetColumnWidth(2, 3 * w);
    m_list.SetColumnWidth(3, 3 * w);
}

void CCommandsPage::OnScaleChanged()
{
    ResizeImages();
    FillCommandList();
}

void CCommandsPage::CleanUp()
{
    m_icons.reset(); // it adds to the image list the base frees
    CListPage::CleanUp();
}

bool CCommandsPage::SelectedCommand(std::wstring& name, CommandScope& scope) const
{
    const int row = m_list.GetFirstSelected();
    const std::optional<size_t> index = m_list.GetItemIndex(row, m_rows.size());
    if (!index)
        return false;
    const CommandRow& entry = m_rows[*index];
    name = m_list.GetItemText(row, 0);
    scope = entry.scope;
    // The name comes from a file anyone may have written: a path or key
    // built from "x\..\..\name" would reach outside the Cmds folder.
    if (IsLegalCommandName(name))
        return true;
    AppMessageBox(TXT_INVALID_NAME_BEFORE + entry.file + TXT_INVALID_NAME_AFTER, MB_OK | MB_ICONINFORMATION);
    return false;
}

void CCommandsPage::OnNewCommand()
{
    CNewCommandDlg dialog = CNewCommandDlg::ForNew(*this);
    dialog.DoModal();
}

void CCommandsPage::OnEditCommand()
{
    std::wstring name;
    CommandScope scope = CommandScope::machine;
    if (!SelectedCommand(name, scope))
        return;
    // The OK handler has rebuilt the list by the time the dialog returns.
    CNewCommandDlg dialog = CNewCommandDlg::ForEdit(*this, name, scope);
    dialog.DoModal();
}

void CCommandsPage::OnDeleteCommand()
{
    std::wstring name;
    CommandScope scope = CommandScope::machine;
    if (!SelectedCommand(name, scope))
        return;
    if (scope == CommandScope::machine && !m_host.RequireElevation(TXT_ACTION_DELETE_MACHINE_COMMAND))
        return;
    const std::wstring question = LoadAppString(IDS_ASK_DELETE_COMMAND) + L" " + name + L"?";
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::wstring note = ReplacedEntryNoteOf(name, scope);
    OtherProgramEntry kept;
    if (!DeleteCommand(name, scope, &kept))
        AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
    AfterCommandDeleted(name, scope, note, kept);
    FillCommandList();
}

void CCommandsPage::OnCommandProperties()
{
    std::wstring name;
    CommandScope scope = CommandScope::machine;
    if (!SelectedCommand(name, scope))
        return;
    ShellRequest request;
    request.extended = true;
    request.mask = SEE_MASK_INVOKEIDLIST;
    request.owner = GetAppMainWindow();
    request.verb = L"properties";
    request.file = CommandLinkPath(name, scope);
    request.show = SW_SHOW;
    ShellOpen(request); // the shell reports its own failures
}

void CCommandsPage::OnRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_host.ShowContextMenu(IDR_COMMAND_MENU, m_list);
}

void CCommandsPage::OnDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnEditCommand();
}

void CCommandsPage::OnHotTrack(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_host.ShowCount(CountText());
}
