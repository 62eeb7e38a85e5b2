#include "framework/WinApp.h"

#include "framework/Dialog.h"
#include "framework/ExceptionReport.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* CWinApp::Get()
{
    return g_app;
}

void CWinApp::SetMainWindow(CDialog& dialog)
{
    dialog.MakeAppMainWindow();
}

int CWinApp::Run(HINSTANCE, const wchar_t* commandLine)
{
    CWinApp* app = Get();
    if (!app)
        return 1;
    try {
        app->SetCommandLine(commandLine ? commandLine : L"");
        if (app->InitInstance()) {
            // A program whose InitInstance keeps running pumps messages here.
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        return app->ExitInstance();
    } catch (...) {
        // The last boundary: said, rather than the process vanishing.
        ReportCurrentException();
        return 1;
    }
}
