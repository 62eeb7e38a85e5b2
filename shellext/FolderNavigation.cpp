#include "shellext/FolderNavigation.h"

#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"
#include "shellext/TextTools.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shlguid.h>

namespace tesselator {

namespace {

// Asks the window for its shell browser (CWM_GETISHELLBROWSER). The
// answer is borrowed: no reference is added, so none is released.
constexpr UINT kGetShellBrowser = WM_USER + 7;

// The documented route: the host's top-level browser, served by its site.
bool QuerySiteBrowser(IUnknown* site, CComHolder<IShellBrowser>& browser)
{
    CComHolder<IServiceProvider> services;
    if (!site || FAILED(site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(services.Put()))))
        return false;
    IShellBrowser* answer = nullptr;
    if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, reinterpret_cast<void**>(&answer))) ||
        !answer)
        return false;
    browser.Reset(answer);
    return true;
}

// WM_USER+7 is answered with a pointer that is called, so only windows
// known to mean a browser by it are asked. Any dialog may use the message
// for its own purpose; a common file dialog proves itself by naming its
// folder.
bool AnswersWithBrowser(HWND window)
{
    char className[kTextBufferSize] = {};
    GetClassNameA(window, className, sizeof className);
    switch (ClassifyBrowserWindow(className)) {
    case BrowserWindow::Explorer:
        return true;
    case BrowserWindow::Dialog: {
        char folder[MAX_PATH] = {};
        return SendMessageA(window, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0;
    }
    case BrowserWindow::Other:
        break;
    }
    return false;
}

bool ParseFolder(const char* folder, CShellMemoryHolder& pidl)
{
    wchar_t wide[MAX_PATH] = {};
    if (!ToWide(folder, wide, MAX_PATH))
        return false;
    CComHolder<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return false;
    return SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr,
                                               reinterpret_cast<PIDLIST_RELATIVE*>(pidl.Put()), nullptr));
}

} // namespace

void ShellOpen(const char* file, const char* parameters)
{
    ShellExecuteA(nullptr, "open", file, parameters, nullptr, SW_SHOWNORMAL);
}

void ShowFolder(const char* folder, IUnknown* site)
{
    CComHolder<IShellBrowser> siteBrowser;
    IShellBrowser* browser = nullptr;
    if (QuerySiteBrowser(site, siteBrowser)) {
        browser = siteBrowser.Get();
    } else {
        const HWND window = GetActiveWindow();
        if (!window || !AnswersWithBrowser(window)) {
            ShellOpen(folder, "");
            return;
        }
        browser = reinterpret_cast<IShellBrowser*>(SendMessageA(window, kGetShellBrowser, 0, 0));
    }
    CShellMemoryHolder pidl;
    if (!ParseFolder(folder, pidl))
        return; // a folder that is gone: nothing is opened
    if (browser)
        browser->BrowseObject(static_cast<PCUIDLIST_RELATIVE>(pidl.Get()), SBSP_SAMEBROWSER);
    else
        ShellOpen(folder, "");
}

} // namespace tesselator
