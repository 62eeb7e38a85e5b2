#include "shellext/FolderNavigation.h"

#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"
#include "shellext/TextTools.h"

#include <shlobj.h>

namespace tesselator {

namespace {

// Asks the window for its shell browser (CWM_GETISHELLBROWSER). The
// answer is borrowed: no reference is added, so none is released.
constexpr UINT kGetShellBrowser = WM_USER + 7;

void BrowseInPlace(HWND window, const char* folder)
{
    wchar_t wide[MAX_PATH] = {};
    if (!ToWide(folder, wide, MAX_PATH))
        return;
    CComHolder<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return;
    CShellMemoryHolder pidl;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr,
                                         reinterpret_cast<PIDLIST_RELATIVE*>(pidl.Put()), nullptr)))
        return; // a folder that is gone: nothing is opened
    auto* browser = reinterpret_cast<IShellBrowser*>(SendMessageA(window, kGetShellBrowser, 0, 0));
    if (browser)
        browser->BrowseObject(static_cast<PCUIDLIST_RELATIVE>(pidl.Get()), SBSP_SAMEBROWSER);
    else
        ShellOpen(folder, "");
}

} // namespace

void ShellOpen(const char* file, const char* parameters)
{
    ShellExecuteA(nullptr, "open", file, parameters, nullptr, SW_SHOWNORMAL);
}

void ShowFolderInActiveWindow(const char* folder)
{
    const HWND window = GetActiveWindow();
    char className[kTextBufferSize] = {};
    if (window)
        GetClassNameA(window, className, sizeof className);
    if (IsInPlaceBrowserClass(className))
        BrowseInPlace(window, folder);
    else
        ShellOpen(folder, "");
}

} // namespace tesselator
