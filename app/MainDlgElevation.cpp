// Elevation on demand: the program starts without administrator rights and
// restarts with them, on the same page, when the user asks for it.
#include "app/MainDlg.h"

#include "app/CommandLine.h"
#include "services/ShellOpen.h"
#include "catalogue/CommandScopeRules.h"
#include "framework/AppInfo.h"
#include "framework/CodePage.h"
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"

#include <shellapi.h>

std::wstring CMainDlg::CurrentPageOption() const
{
    if (m_system.List().HasVisibleStyle())
        return kSystemCommandsOption;
    if (m_folders.List().HasVisibleStyle())
        return kFastFoldersOption;
    return {};
}

void CMainDlg::OnRestartAsAdministrator()
{
    if (IsProcessElevated())
        return;
    ShellRequest request;
    request.extended = true;
    request.mask = SEE_MASK_NOASYNC;
    request.owner = m_hWnd;
    request.verb = L"runas"; // the system asks for consent or credentials
    request.file = GetModulePath();
    request.parameters = CurrentPageOption();
    request.show = SW_SHOWNORMAL;
    // Declined or failed: this window stays as it is.
    if (ShellOpen(request))
        OnOK();
}

bool CMainDlg::RequireElevation(const wchar_t* action) const
{
    return ::RequireElevation(NeedsAdministratorText(action));
}
