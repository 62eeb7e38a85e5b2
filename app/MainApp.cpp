#include "app/MainApp.h"

#include "app/MainDlg.h"
#include "transfer/TransferRun.h"

#include <commctrl.h>
#include <objbase.h>

BOOL CMainApp::InitInstance()
{
    // Scripts and deployment tools: no window at all, and recognised before
    // any other start-up rule (their file paths hold a ':').
    if (const TransferParse transfer = ParseTransferCommandLine(CommandLine()); transfer.IsTransfer()) {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_exitCode = RunTransfer(transfer);
        if (SUCCEEDED(com))
            CoUninitialize();
        return FALSE;
    }
    InitCommonControls();
    // The shell's property sheets and the shortcut writer need COM on this
    // thread; the program hosts no ActiveX controls of its own.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        CMainDlg dialog(nullptr);
        SetMainWindow(dialog);
        dialog.DoModal();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    // The process ends here: no message loop of the application's own.
    return FALSE;
}
