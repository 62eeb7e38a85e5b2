#include "shellext/OpenFolders.h"

#include "shellext/Holders.h"
#include "shellext/Module.h"
#include "shellext/WideText.h"

#include <exdisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace tesselator {

namespace {

// Explorer rarely has more; the bound keeps a broken list finite.
constexpr long kMaxWindowsAsked = 100;

// Shared by the waiting menu thread and the worker, which may outlive the
// wait: whichever lets go last frees it.
struct SearchState {
    std::mutex lock;
    std::vector<WindowFolder> found;
    CKernelHandleHolder finished{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

class CComApartment {
public:
    CComApartment() : m_ready(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~CComApartment()
    {
        if (m_ready)
            CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;
    explicit operator bool() const { return m_ready; }

private:
    bool m_ready;
};

// Top-level windows, front-most first.
BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

int ZOrderOf(HWND window, const std::vector<HWND>& zOrder)
{
    const HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    const auto found = root ? std::find(zOrder.begin(), zOrder.end(), root) : zOrder.end();
    return found == zOrder.end() ? -1 : static_cast<int>(found - zOrder.begin());
}

// Every answer is taken as IUnknown and asked for the interface it should
// be: a window that hands over something else is skipped, never called
// through the wrong table.
template <typename I>
bool AskFor(IUnknown* answer, REFIID iid, CComHolder<I>& result)
{
    return answer && SUCCEEDED(answer->QueryInterface(iid, reinterpret_cast<void**>(result.Put()))) && result;
}

// The folder one window shows: its top-level browser, the active view's
// folder, the path of that folder's item list (empty for a virtual folder).
bool FolderOfWindow(IDispatch* window, const std::vector<HWND>& zOrder, WindowFolder& folder)
{
    CComHolder<IServiceProvider> services;
    if (!AskFor(window, IID_IServiceProvider, services))
        return false;
    CComHolder<IUnknown> answer;
    if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                      reinterpret_cast<void**>(answer.Put()))))
        return false;
    CComHolder<IShellBrowser> browser;
    if (!AskFor(answer.Get(), IID_IShellBrowser, browser))
        return false;
    CComHolder<IShellView> shownView;
    CComHolder<IFolderView> view;
    if (FAILED(browser->QueryActiveShellView(shownView.Put())) || !AskFor(shownView.Get(), IID_IFolderView, view))
        return false;
    CComHolder<IUnknown> shownFolder;
    CComHolder<IPersistFolder2> persist;
    if (FAILED(view->GetFolder(IID_IPersistFolder2, reinterpret_cast<void**>(shownFolder.Put()))) ||
        !AskFor(shownFolder.Get(), IID_IPersistFolder2, persist))
        return false;
    CShellMemoryHolder pidl;
    if (FAILED(persist->GetCurFolder(reinterpret_cast<PIDLIST_ABSOLUTE*>(pidl.Put()))) || !pidl)
        return false;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(pidl.Get()), path))
        folder.path = ToUtf16(path);
    HWND frame = nullptr;
    folder.zOrder = SUCCEEDED(browser->GetWindow(&frame)) ? ZOrderOf(frame, zOrder) : -1;
    return true;
}

void Search(SearchState& state)
{
    const CComApartment apartment;
    if (!apartment)
        return;
    CComHolder<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                reinterpret_cast<void**>(windows.Put()))) ||
        !windows)
        return;
    long count = 0;
    if (FAILED(windows->get_Count(&count)))
        return;
    std::vector<HWND> zOrder;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&zOrder));
    for (long i = 0; i < std::min(count, kMaxWindowsAsked); ++i) {
        // Zeroed by hand: VariantInit would bind oleaut32 at load time, which
        // every process showing a file dialog would then pay for.
        VARIANT index = {};
        index.vt = VT_I4;
        index.lVal = i;
        CComHolder<IDispatch> window;
        if (FAILED(windows->Item(index, window.Put())) || !window)
            continue;
        WindowFolder folder;
        if (!FolderOfWindow(window.Get(), zOrder, folder))
            continue;
        const std::lock_guard<std::mutex> guard(state.lock);
        state.found.push_back(std::move(folder));
    }
}

DWORD WINAPI SearchWorker(void* parameter)
{
    // The worker holds its own loader reference (taken by the starter), so
    // the code it runs stays mapped until FreeLibraryAndExitThread.
    {
        std::unique_ptr<std::shared_ptr<SearchState>> state(static_cast<std::shared_ptr<SearchState>*>(parameter));
        try {
            Search(**state);
        } catch (...) {
            // Nothing may leave the thread: what arrived stands.
        }
        SetEvent((*state)->finished.Get());
    }
    UnlockModule();
    FreeLibraryAndExitThread(ModuleInstance(), 0);
}

// The window that shows the menu is one of Explorer's too, served by this
// very thread: in a single-threaded apartment the wait lets COM's calls in
// (and sent messages, so no other thread waits on this one), or the worker
// would stall on it until the wait ends. Elsewhere a plain wait.
void WaitForAnswers(HANDLE event, DWORD waitMs)
{
    DWORD signalled = 0;
    const HRESULT result = CoWaitForMultipleHandles(0, waitMs, 1, &event, &signalled);
    if (result != S_OK && result != RPC_S_CALLPENDING)
        WaitForSingleObject(event, waitMs);
}

} // namespace

std::u16string SystemFolderKey(std::u16string_view path)
{
    std::wstring key(path.begin(), path.end());
    if (!key.empty())
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, key.data(), static_cast<int>(key.size()), key.data(),
                      static_cast<int>(key.size()), nullptr, nullptr, 0);
    return ToUtf16(key);
}

std::vector<WindowFolder> FindOpenFolders(DWORD waitMs)
{
    auto state = std::make_shared<SearchState>();
    if (!state->finished)
        return {};
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&SearchWorker),
                            &self))
        return {};
    auto handoff = std::make_unique<std::shared_ptr<SearchState>>(state);
    LockModule(); // DllCanUnloadNow answers S_FALSE while the worker runs
    const CKernelHandleHolder worker(CreateThread(nullptr, 0, SearchWorker, handoff.get(), 0, nullptr));
    if (!worker) {
        UnlockModule();
        FreeLibrary(self);
        return {};
    }
    handoff.release(); // the worker owns its reference now
    WaitForAnswers(state->finished.Get(), waitMs);
    const std::lock_guard<std::mutex> guard(state->lock);
    return state->found;
}

} // namespace tesselator
