#include "shellext/FolderNavigation.h"

#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"
#include "shellext/WideText.h"

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
    wchar_t className[kTextBufferSize] = {};
    const int length = GetClassNameW(window, className, static_cast<int>(kTextBufferSize));
    switch (ClassifyBrowserWindow(ToUtf16(std::wstring_view(className, length > 0 ? length : 0)))) {
    case BrowserWindow::Explorer:
        return true;
    case BrowserWindow::Dialog: {
        // A dialog opened through the narrow call may answer in bytes
        // whatever the message's form: MAX_PATH units hold either, and only the answer's
        // presence counts.
        wchar_t folder[MAX_PATH] = {};
        return SendMessageW(window, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0;
    }
    case BrowserWindow::Other:
        break;
    }
    return false;
}

bool ParseFolder(const wchar_t* folder, CShellMemoryHolder& pidl)
{
    // ParseDisplayName takes a writable string; the store's text is whole
    // UTF-16, so any script parses.
    std::wstring path(folder);
    CComHolder<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return false;
    return SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr,
                                               reinterpret_cast<PIDLIST_RELATIVE*>(pidl.Put()), nullptr));
}

} // namespace

void ShellOpen(const wchar_t* file, const wchar_t* parameters)
{
    ShellExecuteW(nullptr, L"open", file, parameters, nullptr, SW_SHOWNORMAL);
}

void ShowFolder(const wchar_t* folder, IUnknown* site)
{
    CComHolder<IShellBrowser> siteBrowser;
    IShellBrowser* browser = nullptr;
    if (QuerySiteBrowser(site, siteBrowser)) {
        browser = siteBrowser.Get();
    } else {
        const HWND window = GetActiveWindow();
        if (!window || !AnswersWithBrowser(window)) {
            ShellOpen(folder, L"");
            return;
        }
        browser = reinterpret_cast<IShellBrowser*>(SendMessageW(window, kGetShellBrowser, 0, 0));
    }
    CShellMemoryHolder pidl;
    if (!ParseFolder(folder, pidl))
        return; // a folder that is gone: nothing is opened
    if (browser)
        browser->BrowseObject(static_cast<PCUIDLIST_RELATIVE>(pidl.Get()), SBSP_SAMEBROWSER);
    else
        ShellOpen(folder, L"");
}

} // namespace tesselator
