// quillon.exe's entry point and its one application object.
#include "app/MainApp.h"

namespace {
CMainApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return CWinApp::Run(instance, commandLine);
}
