// Help, the contact links and the About box of the main window.
#include "app/AboutDlg.h"
#include "app/HtmlHelp.h"
#include "app/MainDlg.h"
#include "app/ShellOpen.h"

#include "resources/Texts.h"

void CMainDlg::ShowHelp()
{
    ShowHelpTopic(HelpFilePath());
}

BOOL CMainDlg::PreTranslateMessage(MSG* msg)
{
    // F1 opens the help; Shift+F1 is left to the default processing.
    if (IsHelpKeyMessage(msg)) {
        ShowHelp();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
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
