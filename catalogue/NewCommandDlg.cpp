#include "catalogue/NewCommandDlg.h"

#include "services/HtmlHelp.h"
#include "catalogue/CommandInput.h"
#include "catalogue/CommandLimits.h"
#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/CommandScopeRules.h"
#include "catalogue/Commands.h"
#include "catalogue/FolderBrowser.h"
#include "catalogue/PropertiesFormat.h"
#include "catalogue/ReplacedEntry.h"
#include "catalogue/Shadowing.h"
#include "framework/AppInfo.h"
#include "framework/CodePage.h"
#include "framework/FileDialog.h"
#include "framework/DataExchange.h"
#include "framework/Elevation.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/Services.h"
#include "resources/NewCommandIds.h"
#include "resources/Texts.h"

#include <vector>

namespace {

void ShowInformation(UINT stringId)
{
    AppMessageBox(stringId, MB_OK | MB_ICONINFORMATION);
}

// The user's text for input a command cannot hold; null when it can.
const wchar_t* UnstorableInputMessage(UnstorableInput problem)
{
    switch (problem) {
    case UnstorableInput::lineBreak: return TXT_NC_LINE_BREAK;
    case UnstorableInput::brokenText: return TXT_NC_BROKEN_TEXT;
    case UnstorableInput::targetTooLong: return TXT_NC_TARGET_TOO_LONG;
    case UnstorableInput::parametersTooLong: return TXT_NC_PARAMETERS_TOO_LONG;
    case UnstorableInput::none: break;
    }
    return nullptr;
}

} // namespace

// ---- rules ----

const wchar_t* BrowseMenuTip(UINT item)
{
    switch (item) {
    case ID_BROWSE_FILE: return TXT_NC_TIP_FILE;
    case ID_BROWSE_FOLDER: return TXT_NC_TIP_FOLDER;
    case ID_BROWSE_URL: return TXT_NC_TIP_URL;
    default: return L"";
    }
}

// ---- the dialog ----

BEGIN_ROUTES(CNewCommandDlg, CDialog)
    ON_WM_SHOWWINDOW(OnShowWindow)
    ON_WM_MENUSELECT(OnMenuSelect)
    ON_COMMAND(IDC_NC_BROWSE, OnBrowse)
    ON_COMMAND(ID_BROWSE_FILE, OnBrowseFile)
    ON_COMMAND(ID_BROWSE_FOLDER, OnBrowseFolder)
    ON_COMMAND(ID_BROWSE_URL, OnBrowseUrl)
    ON_CONTROL(EN_SETFOCUS, IDC_NC_NAME, OnNameFocus)
    ON_CONTROL(EN_SETFOCUS, IDC_NC_TARGET, OnTargetFocus)
    ON_CONTROL(EN_SETFOCUS, IDC_NC_PARAMETERS, OnParametersFocus)
    ON_CONTROL(CBN_SETFOCUS, IDC_NC_MODE, OnModeFocus)
    ON_CONTROL(CBN_SETFOCUS, IDC_NC_SCOPE, OnScopeFocus)
    ON_CONTROL(STN_CLICKED, IDC_NC_HELP, OnHelp)
END_ROUTES()

CNewCommandDlg::CNewCommandDlg(ICommandEditorHost& host, Mode mode, const std::wstring& text, CommandScope oldScope)
    : CDialog(IDD_NEW_COMMAND, nullptr), m_host(host), m_mode(mode),
      m_oldName(mode == Mode::edit ? text : std::wstring()), m_oldScope(oldScope),
      m_initialPath(mode == Mode::path ? text : std::wstring())
{
}

BOOL CNewCommandDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    // What a command can hold, and no more, as import and the properties
    // reader take it. The target stays open: a cut path would name another
    // file, so a long one is refused with the reason on OK instead.
    SendDlgItemMessageW(m_hWnd, IDC_NC_NAME, EM_LIMITTEXT, kMaxCommandName, 0);
    SendDlgItemMessageW(m_hWnd, IDC_NC_PARAMETERS, EM_LIMITTEXT, kMaxCommandParameters, 0);
    return result;
}

void CNewCommandDlg::DoDataExchange(bool save)
{
    DDX_Control(save, m_hWnd, IDC_NC_MODE, m_windowMode);
    DDX_Control(save, m_hWnd, IDC_NC_SCOPE, m_scope);
}

std::wstring CNewCommandDlg::FieldText(int id) const
{
    return CWindow(GetDlgItem(id)).GetText();
}

void CNewCommandDlg::OnShowWindow(bool show, UINT)
{
    if (!show)
        return; // hiding before the path-mode success message
    // Refilled, not added to, when the dialog is shown again.
    m_windowMode.ResetContent();
    m_windowMode.AddString(TXT_NC_MODE_NORMAL);
    m_windowMode.AddString(TXT_NC_MODE_MINIMIZED);
    m_windowMode.AddString(TXT_NC_MODE_MAXIMIZED);
    m_windowMode.SetCurSel(0);
    SetUpScope();
    if (m_mode == Mode::edit) {
        // A file that cannot be opened throws: reported, fields left empty.
        LoadCommandProperties(m_oldName);
        SetWindowTextW(m_hWnd, TXT_NC_CAPTION_EDIT);
    } else if (m_mode == Mode::path) {
        SetDlgItemTextW(m_hWnd, IDC_NC_TARGET, m_initialPath.c_str());
    }
}

void CNewCommandDlg::LoadCommandProperties(const std::wstring& name)
{
    std::vector<std::wstring> lines;
    if (ReadPropertiesLines(CommandPropertiesPath(name, m_oldScope), 4, lines) < 4)
        return;
    SetDlgItemTextW(m_hWnd, IDC_NC_NAME, lines[0].c_str());
    SetDlgItemTextW(m_hWnd, IDC_NC_TARGET, lines[1].c_str());
    SetDlgItemTextW(m_hWnd, IDC_NC_PARAMETERS, lines[2].c_str());
    m_windowMode.SetCurSel(ModeIndexFromPropertiesLine(WideToUtf8(lines[3]).value_or(std::string())));
}

void CNewCommandDlg::SetUpScope()
{
    const MachineScopeOffer offer = OfferMachineScope(IsProcessElevated(), GetProgramFolder(), ProfilesFolder());
    const CommandScope start = m_mode == Mode::edit ? m_oldScope : DefaultCommandScope(offer);
    m_scope.ResetContent();
    m_scope.AddString(ScopeText(CommandScope::user));    // index 0
    m_scope.AddString(ScopeText(CommandScope::machine)); // index 1
    m_scope.SetCurSel(start == CommandScope::user ? 0 : 1);
    const bool offered = offer == MachineScopeOffer::offered;
    m_scope.EnableWindow(offered);
    const wchar_t* why = offered ? L"" : offer == MachineScopeOffer::privateFolder ? TXT_NC_SCOPE_PRIVATE
                                                                                : TXT_NC_SCOPE_NEEDS_ADMIN;
    SetDlgItemTextW(m_hWnd, IDC_NC_SCOPE_TIP, why);
}

bool CNewCommandDlg::AcceptShadowedName(const std::wstring& name) const
{
    const std::wstring winner = FindShadowingFile(name);
    if (winner.empty())
        return true;
    const std::wstring question = TXT_NC_SHADOWED_BEFORE + name + TXT_NC_SHADOWED_MIDDLE + winner + TXT_NC_SHADOWED_AFTER;
    return AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

CommandScope CNewCommandDlg::ChosenScope() const
{
    return m_scope.GetCurSel() == 0 ? CommandScope::user : CommandScope::machine;
}

bool CNewCommandDlg::AcceptBothScopes(const std::wstring& name, CommandScope scope) const
{
    const CommandScope other = scope == CommandScope::user ? CommandScope::machine : CommandScope::user;
    // Moving this very command to the other scope removes it there.
    const bool movingFromOther = m_mode == Mode::edit && m_oldScope == other && ToLowerCommandName(m_oldName) == name;
    if (movingFromOther || !CommandExists(name, other))
        return true;
    // Another program's entry there is kept, not replaced: said as such.
    const OtherProgramEntry foreign = FindOtherProgramEntry(name, other);
    const std::wstring question =
        foreign.exists ? OtherEntryText(name, other, foreign) + TXT_OTHER_ENTRY_BOTH_AFTER
                       : TXT_NC_BOTH_SCOPES_BEFORE + name + TXT_NC_BOTH_SCOPES_AFTER;
    return AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CNewCommandDlg::OnOK()
{
    std::wstring name = FieldText(IDC_NC_NAME);
    std::wstring target = FieldText(IDC_NC_TARGET);
    const std::wstring parameters = FieldText(IDC_NC_PARAMETERS);

    if (const UINT problem = FirstInputProblem(name, target)) {
        ShowInformation(problem);
        return;
    }
    name = ToLowerCommandName(name);
    target = TrimTrailingBackslashes(target);
    // What the command's files cannot hold is refused before anything is
    // written, so an edited command is never replaced by a mangled one.
    if (const wchar_t* refusal = UnstorableInputMessage(FindUnstorableInput(target, parameters))) {
        AppMessageBox(refusal, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const int showCommand = ShowCommandFromModeIndex(m_windowMode.GetCurSel());
    const CommandScope scope = ChosenScope();
    if (scope == CommandScope::machine && !RequireElevation(NeedsAdministratorText(TXT_ACTION_SAVE_MACHINE_COMMAND)))
        return;
    if (!AcceptBothScopes(name, scope) || !AcceptShadowedName(name))
        return; // the dialog stays as typed
    const OtherProgramEntry foreign = FindOtherProgramEntry(name, scope);
    if (foreign.exists && !AcceptReplacingOtherEntry(name, scope, foreign))
        return;

    // The old command stays until the new one exists: under the same name
    // and scope CreateCommand replaces its items; under a new name or in the
    // other scope the old one goes only after the new one was created.
    const bool created = CreateCommand(name, target, parameters, showCommand, scope, foreign.exists);
    if (created && m_mode == Mode::edit && (ToLowerCommandName(m_oldName) != name || m_oldScope != scope)) {
        const std::wstring note = ReplacedEntryNoteOf(m_oldName, m_oldScope);
        OtherProgramEntry kept;
        DeleteCommand(m_oldName, m_oldScope, &kept);
        AfterCommandDeleted(m_oldName, m_oldScope, note, kept);
    }

    if (m_mode != Mode::path)
        m_host.FillCommandList();
    if (m_mode == Mode::path && created) {
        ShowWindow(m_hWnd, SW_HIDE);
        ShowMessageBox(AppMessageBoxOwner(), TXT_PATH_MODE_SUCCESS, TXT_OWN_CAPTION, MB_OK | MB_ICONINFORMATION);
    }
    EndDialog(IDOK);
}

bool CNewCommandDlg::OnHelpKey()
{
    OnHelp();
    return true;
}

void CNewCommandDlg::OnHelp()
{
    ShowHelpTopic(HelpTopicPath(kCommandHelpTopic));
}

void CNewCommandDlg::OnBrowse()
{
    CMenuHandle menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_BROWSE_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
}

void CNewCommandDlg::OnBrowseFile()
{
    const std::wstring chosen =
        ChooseFileToOpen({m_hWnd, TXT_NC_CHOOSE_FILE, LoadAppString(IDS_FILE_FILTER), std::wstring(), L"*.*"});
    if (!chosen.empty())
        SetDlgItemTextW(m_hWnd, IDC_NC_TARGET, chosen.c_str());
}

void CNewCommandDlg::OnBrowseFolder()
{
    const std::wstring chosen =
        BrowseUntilFolder(m_hWnd, TXT_NC_FOLDER_TITLE, TXT_SELECT_VALID_FOLDER, FieldText(IDC_NC_TARGET));
    SetDlgItemTextW(m_hWnd, IDC_NC_TARGET, chosen.c_str());
}

void CNewCommandDlg::OnBrowseUrl()
{
    SetDlgItemTextW(m_hWnd, IDC_NC_TARGET, TXT_NC_URL_START);
}

void CNewCommandDlg::ShowFieldTip(const wchar_t* tip)
{
    // In path mode the main window is hidden: its status bar shows nothing.
    if (m_mode != Mode::path)
        m_host.SetStatusTip(tip);
}

void CNewCommandDlg::OnNameFocus() { ShowFieldTip(TXT_NC_TIP_NAME); }
void CNewCommandDlg::OnTargetFocus() { ShowFieldTip(TXT_NC_TIP_TARGET); }
void CNewCommandDlg::OnParametersFocus() { ShowFieldTip(TXT_NC_TIP_PARAMETERS); }
void CNewCommandDlg::OnModeFocus() { ShowFieldTip(TXT_NC_TIP_MODE); }
void CNewCommandDlg::OnScopeFocus() { ShowFieldTip(TXT_NC_TIP_SCOPE); }

void CNewCommandDlg::OnMenuSelect(const MenuSelection& selection)
{
    m_host.SetStatusTip(selection.IsCommandItem() ? BrowseMenuTip(selection.item) : L"");
}
