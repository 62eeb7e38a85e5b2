#pragma once
// The services the program takes from the system and tests replace: boxes,
// modal runs, process starts, the shell's pickers, the help viewer. One
// object for the process; an empty member means the real service. Tests
// change it inside a CServicesGuard, which puts the whole object back.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <functional>
#include <string>

class CDialog;
class CPropertySheet;
class CProgressCtrl;
struct MessageBoxRequest;
struct HtmlHelpRequest;
struct ShellRequest;
struct ProcessStart;

struct CServices {
    // Answers a box instead of showing it; the result is the button.
    std::function<int(const MessageBoxRequest&)> messageBox;
    // Runs a modal dialog, created and initialised but not shown, in place
    // of its message loop; the dialog is cancelled if it is still open.
    std::function<void(CDialog&)> modalDialog;
    // The same for a property sheet.
    std::function<void(CPropertySheet&)> modalSheet;
    // Decides whether a registry open, create or delete may proceed. Wine
    // does not refuse creating subkeys under a read-only key, so "no
    // administrator rights" is denied here instead.
    std::function<bool(HKEY root, const std::wstring& subkey, REGSAM access)> registryAccess;
    // Stands in for SHBrowseForFolderW; the item list it returns must come
    // from the shell's allocator.
    std::function<PIDLIST_ABSOLUTE(BROWSEINFOW&)> browseForFolder;
    // Stands in for GetOpenFileNameW.
    std::function<BOOL(OPENFILENAMEW&)> openFileName;
    // Stands in for GetSaveFileNameW.
    std::function<BOOL(OPENFILENAMEW&)> saveFileName;
    // Receives a prepared context menu instead of it being tracked.
    std::function<void(HMENU popup, UINT menuId)> contextMenu;
    // Stands in for the HTML Help viewer.
    std::function<HWND(const HtmlHelpRequest&)> htmlHelp;
    // Stands in for ShellExecute(Ex).
    std::function<bool(const ShellRequest&)> shellOpen;
    // Stands in for starting a program (regsvr32 runs).
    std::function<void(const ProcessStart&)> startProcess;
    // Called after every move of the System Commands progress bar: now
    // and then during a load, and once at its end.
    std::function<void(const CProgressCtrl&)> systemLoadStep;
    // Stands in for a disk that fills up or a share that drops under a
    // file written whole (FileReplace.h): called after each write with the
    // bytes written so far; a non-zero error code fails the write there.
    std::function<DWORD(size_t written)> wholeFileWriteError;
    // Answers whether the process runs elevated.
    std::function<bool()> processElevated;
    // The code page that stands for the ANSI one in the program's text
    // conversions (CodePage.h); 0: the system's.
    UINT ansiCodePage = 0;
    // Full path the program pretends to run from; empty: its real path.
    std::wstring programPath;
    // The folder that stands for %APPDATA%\Verbosa; empty: the real one.
    std::wstring userDataFolder;
    // The folder that stands for %LOCALAPPDATA%\Verbosa; empty: the real one.
    std::wstring localDataFolder;
    // The folder that stands for %ProgramData%\Verbosa; empty: the real one.
    std::wstring machineDataFolder;
    // The folder that stands for the one holding the users' profiles.
    std::wstring profilesFolder;
};

// The process's one services object.
CServices& Services();

// Restores the whole services object when it goes, whatever was changed.
class CServicesGuard {
public:
    CServicesGuard() : m_saved(Services()) {}
    ~CServicesGuard() { Services() = std::move(m_saved); }
    CServicesGuard(const CServicesGuard&) = delete;
    CServicesGuard& operator=(const CServicesGuard&) = delete;

private:
    CServices m_saved;
};
