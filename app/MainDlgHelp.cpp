// Help, the contact links and the About box of the main window.
#include "app/AboutDlg.h"
#include "services/HtmlHelp.h"
#include "app/MainDlg.h"
#include "services/ShellOpen.h"

#include "framework/CodePage.h"

#include "resources/Texts.h"

void CMainDlg::ShowHelp()
{
    ShowHelpTopic(HelpFilePath());
}

bool CMainDlg::OnHelpKey()
{
    ShowHelp();
    return true;
}

void CMainDlg::OnTechSupport()
{
    OpenWithShell(SupportMailLink());
}

void CMainDlg::OnHomePage()
{
    OpenWithShell(TXT_HOME_PAGE_URL);
}

void CMainDlg::OnAbout()
{
    CAboutDlg about;
    about.DoModal();
}
