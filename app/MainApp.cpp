#include "app/MainApp.h"

#include "app/MainDlg.h"
#include "framework/CodePage.h"
#include "framework/ComApartment.h"
#include "transfer/TransferRun.h"

#include <commctrl.h>

BOOL CMainApp::InitInstance()
{
    // Scripts and deployment tools: no window at all, and recognised before
    // any other start-up rule (their file paths hold a ':').
    if (const TransferParse transfer = ParseTransferCommandLine(ShownAsUtf8(CommandLine())); transfer.IsTransfer()) {
        const CComApartment com;
        m_exitCode = RunTransfer(transfer);
        return FALSE;
    }
    InitCommonControls();
    // The shell's property sheets and the shortcut writer need COM on this
    // thread; the program hosts no ActiveX controls of its own.
    const CComApartment com;
    CMainDlg dialog(nullptr);
    SetMainWindow(dialog);
    dialog.DoModal();
    // The process ends here: no message loop of the application's own.
    return FALSE;
}
