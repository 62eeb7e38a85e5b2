#pragma once
// The application object: one global instance of a class derived from
// CWinApp. WinMain hands it the instance and the command line and runs it.
#include <windows.h>

#include <string>

class CDialog;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Sets the application up. Returning false ends the process at once
    // (a dialog-based program runs its main window inside).
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // The text after the program's name, as the platform handed it over.
    const std::wstring& CommandLine() const { return m_commandLine; }

    // Makes the dialog the main window once it exists: boxes and help
    // belong to it (GetAppMainWindow is the one record of it).
    static void SetMainWindow(CDialog& dialog);

    static CWinApp* Get();
    // WinMain's body: InitInstance, then ExitInstance's code.
    static int Run(HINSTANCE instance, const wchar_t* commandLine);
    // Run hands over the platform's; tests give one to an object not run.
    void SetCommandLine(const std::wstring& commandLine) { m_commandLine = commandLine; }

private:
    std::wstring m_commandLine;
};
