#include "shellsettings/ConfigSheet.h"

#include "catalogue/CommandPaths.h"
#include "catalogue/CommandScopeRules.h"
#include "framework/DataExchange.h"
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "framework/WindowDpi.h"
#include "resources/ConfigurationIds.h"
#include "resources/Texts.h"
#include "shellsettings/ExtensionRegistration.h"
#include "shellsettings/OpenFoldersSwitch.h"
#include "shellsettings/ShortcutVerb.h"

CConfigChoicePage::CConfigChoicePage(UINT templateId, int firstRadioId)
    : CPropertyPage(templateId), m_firstRadioId(firstRadioId)
{
}

// Both pages' groups share the two handlers, as the ids of page 2 are
// those of page 1 moved by six.
BEGIN_ROUTES(CConfigChoicePage, CPropertyPage)
    ON_COMMAND(IDC_VERB_ENABLED, OnEnabled)
    ON_COMMAND(IDC_VERB_DISABLED, OnDisabled)
    ON_COMMAND(IDC_EXTENSION_ENABLED, OnEnabled)
    ON_COMMAND(IDC_EXTENSION_DISABLED, OnDisabled)
END_ROUTES()

BOOL CConfigChoicePage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_current = m_initial = ReadSystemState() ? 0 : 1;
    UpdateData(false);
    return TRUE;
}

void CConfigChoicePage::DoDataExchange(bool save)
{
    int value = m_current;
    DDX_Radio(save, m_hWnd, m_firstRadioId, value);
    if (save)
        m_current = value;
}

void CConfigChoicePage::OnEnabled()
{
    OnChoice(0);
}

void CConfigChoicePage::OnDisabled()
{
    OnChoice(1);
}

void CConfigChoicePage::OnChoice(int32_t choice)
{
    if (m_current != choice)
        SetModified(true);
    UpdateData(true);
}

CConfigTab1::CConfigTab1() : CConfigChoicePage(IDD_CONFIG_CONTEXT_MENU, IDC_VERB_ENABLED) {}

bool CConfigTab1::ReadSystemState() const
{
    return IsShortcutVerbInstalled(VerbScope::machine) || IsShortcutVerbInstalled(VerbScope::user);
}

CConfigTab2::CConfigTab2() : CConfigChoicePage(IDD_CONFIG_FAST_FOLDERS, IDC_EXTENSION_ENABLED) {}

BEGIN_ROUTES(CConfigTab2, CConfigChoicePage)
    ON_COMMAND(IDC_SHOW_OPEN_FOLDERS, OnShowOpenFolders)
END_ROUTES()

BOOL CConfigTab2::OnInitDialog()
{
    CConfigChoicePage::OnInitDialog();
    m_showOpenFolders = m_initialShowOpenFolders = IsOpenFoldersListShown();
    CheckDlgButton(m_hWnd, IDC_SHOW_OPEN_FOLDERS, m_showOpenFolders ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CConfigTab2::OnShowOpenFolders()
{
    m_showOpenFolders = IsDlgButtonChecked(m_hWnd, IDC_SHOW_OPEN_FOLDERS) == BST_CHECKED;
    SetModified(HasChange() || HasOpenFoldersChange());
}

bool CConfigTab2::ReadSystemState() const
{
    return IsShellExtensionRegistered(ExtensionScope::machine) || IsShellExtensionRegistered(ExtensionScope::user);
}

CConfigTab3::CConfigTab3() : CPropertyPage(IDD_CONFIG_RUN_DIALOG) {}

CConfigPropSheet::CConfigPropSheet(CConfigTab1& verbPage, CConfigTab2& extensionPage, CConfigTab3& runPage,
                                   HWND parent)
    : CPropertySheet(L"Configuration", parent), m_verbPage(verbPage), m_extensionPage(extensionPage)
{
    AddPage(&verbPage);
    AddPage(&extensionPage);
    AddPage(&runPage);
}

CConfigPropSheet::~CConfigPropSheet() = default;

RECT MovedOneButtonRight(const RECT& button, const CDpiScale& scale)
{
    const LONG shift = (button.right - button.left) + scale(6);
    return RECT{button.left + shift, button.top, button.right + shift, button.bottom};
}

BOOL CConfigPropSheet::OnInitDialog()
{
    HWND sheet = GetSafeHwnd();
    ShowWindow(GetDlgItem(sheet, IDC_SHEET_HELP), SW_HIDE);
    EnableWindow(GetDlgItem(sheet, IDC_SHEET_APPLY), TRUE);
    const CDpiScale scale = ScaleOfWindow(sheet);
    for (int id : {IDOK, IDCANCEL, IDC_SHEET_APPLY}) {
        HWND button = GetDlgItem(sheet, id);
        if (!button)
            continue;
        RECT rect;
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&rect), 2);
        const RECT moved = MovedOneButtonRight(rect, scale);
        MoveWindow(button, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top, TRUE);
    }
    return TRUE;
}

bool CConfigPropSheet::OnCommand(UINT id, UINT notifyCode, HWND)
{
    if (notifyCode == BN_CLICKED && (id == IDC_SHEET_APPLY || id == IDOK))
        ApplyChoices();
    return false; // the sheet applies the pages and, for OK, closes
}

void CConfigPropSheet::ApplyChoices()
{
    const std::wstring folder = GetProgramFolder();
    if (m_verbPage.HasChange()) {
        // Without administrator rights the verb is the user's own.
        const bool elevated = IsProcessElevated();
        if (m_verbPage.CurrentChoice() != 0) {
            RemoveShortcutVerb(VerbScope::user);
            if (elevated)
                RemoveShortcutVerb(VerbScope::machine);
            else if (IsShortcutVerbInstalled(VerbScope::machine))
                RequireElevation(NeedsAdministratorText(TXT_ACTION_REMOVE_MACHINE_VERB));
        } else if (!InstallShortcutVerb(folder, elevated ? VerbScope::machine : VerbScope::user)) {
            AppMessageBox(IDS_NO_REGISTRY_ACCESS, MB_OK);
        }
        m_verbPage.CommitChoice();
    }
    if (m_extensionPage.HasChange()) {
        // Without administrator rights the extension is registered for the
        // user alone; switching it off takes the user's registration away and,
        // with the rights, the machine's.
        const bool enable = m_extensionPage.CurrentChoice() == 0;
        const bool elevated = IsProcessElevated();
        if (enable) {
            SetShellExtensionRegistered(folder, true, elevated ? ExtensionScope::machine : ExtensionScope::user);
        } else {
            if (IsShellExtensionRegistered(ExtensionScope::user))
                SetShellExtensionRegistered(folder, false, ExtensionScope::user);
            if (elevated)
                SetShellExtensionRegistered(folder, false, ExtensionScope::machine);
            else if (IsShellExtensionRegistered(ExtensionScope::machine))
                RequireElevation(NeedsAdministratorText(TXT_ACTION_REMOVE_MACHINE_EXTENSION));
        }
        m_extensionPage.CommitChoice();
    }
    if (m_extensionPage.HasOpenFoldersChange()) {
        if (!SetOpenFoldersListShown(m_extensionPage.ShowsOpenFolders()))
            AppMessageBox(TXT_OPEN_FOLDERS_NOT_SAVED, MB_OK);
        m_extensionPage.CommitOpenFolders();
    }
}
