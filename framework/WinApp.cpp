#include "framework/WinApp.h"

#include "framework/Dialog.h"

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

int CWinApp::Run(HINSTANCE, const char* commandLine)
{
    CWinApp* app = Get();
    if (!app)
        return 1;
    app->SetCommandLine(commandLine ? commandLine : "");
    if (app->InitInstance()) {
        // A program whose InitInstance keeps running pumps messages here.
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return app->ExitInstance();
}
