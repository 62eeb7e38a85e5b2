// quillon.exe's entry point and its one application object.
#include "app/MainApp.h"

namespace {
CMainApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
    return CWinApp::Run(instance, commandLine);
}
