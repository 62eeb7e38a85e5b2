#pragma once
// The application: the whole life of the process is one modal run of the
// main window.
#include "framework/WinApp.h"

class CMainApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override { return m_exitCode; }

private:
    int m_exitCode = 0;
};
