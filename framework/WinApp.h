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
    virtual BOOL InitInstance();
    virtual int ExitInstance() { return 0; }

    // The framework's own initialisation, which InitInstance runs first.
    static void InitApplication();

    // Help is opened through HTML Help (the only help this program knows).
    void EnableHtmlHelp() { m_htmlHelp = true; }
    bool UsesHtmlHelp() const { return m_htmlHelp; }

    // The text after the program's name, as the platform handed it over.
    const std::string& CommandLine() const { return m_commandLine; }
    HINSTANCE Instance() const { return m_instance; }

    // Makes the dialog the main window: boxes and help belong to it.
    void SetMainWindow(CDialog* dialog);
    CDialog* MainWindow() const { return m_mainWindow; }

    static CWinApp* Get();
    // WinMain's body: InitInstance, then ExitInstance's code.
    static int Run(HINSTANCE instance, const char* commandLine);
    // Tests: a command line for an application object that is not run.
    void SetCommandLineForTesting(const std::string& commandLine) { m_commandLine = commandLine; }

private:
    HINSTANCE m_instance = nullptr;
    std::string m_commandLine;
    CDialog* m_mainWindow = nullptr;
    bool m_htmlHelp = false;
};
