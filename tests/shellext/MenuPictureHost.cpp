// Stages the picture of the Fast Folders menu (scripts/screenshots.sh): hosts
// Tesselator.dll as Explorer hosts a folder background's menu, with two
// aliases and a stand-in window list showing the given folders, and opens the
// menu down to "Folders open in Explorer". Wine's own dialogs load no
// background handlers, so the picture needs a host of its own.
// Usage: shellext_menu_host <Tesselator.dll> <menu's folder> <open folder>...
// The menu stays open for 15 s; the registry is a scratch key of its own.
#include "contract/StoreContract.h"
#include "framework/Utf16.h"
#include "tests/shellext/ShellWindowsDouble.h"

#include "TesselatorLib.h"

#include <memory>
#include <string>
#include <vector>

namespace {

IContextMenu3* g_handler = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (g_handler && (message == WM_INITMENUPOPUP || message == WM_MENUCHAR) &&
        SUCCEEDED(g_handler->HandleMenuMsg2(message, wParam, lParam, &result)))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Keys for the menu's own loop, one a tick: down to "Fast Folders" (after
// the host's three entries), into it, past the two aliases, into the nested
// submenu; then the menu closes.
constexpr UINT kKeys[] = {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RIGHT};
size_t g_key = 0;
int g_ticks = 0;

void CALLBACK OnTick(HWND window, UINT, UINT_PTR, DWORD)
{
    if (g_key < std::size(kKeys)) {
        PostMessageW(window, WM_KEYDOWN, kKeys[g_key++], 0);
    } else if (++g_ticks > 30) {
        EndMenu();
    }
}

void WriteText(HKEY key, const std::wstring& name, const std::wstring& text)
{
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 2;
    CoInitialize(nullptr);

    // The store in a scratch user key: two aliases.
    HKEY scratch = nullptr, store = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VerbosaMenuPicture", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &scratch, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, scratch);
    RegCreateKeyExW(HKEY_CURRENT_USER, AsciiToWide(contract::kFastFolderKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &store, nullptr);
    WriteText(store, L"0", L"Documents");
    WriteText(store, L"00", L"C:\\users\\Public\\Documents");
    WriteText(store, L"1", L"Projects");
    WriteText(store, L"11", L"C:\\Projects");
    RegCloseKey(store);

    CShellWindowsDouble list;
    std::vector<std::unique_ptr<CFolderBrowser>> browsers;
    std::vector<std::unique_ptr<CExplorerWindow>> windows;
    for (int i = 3; i < argc; ++i) {
        browsers.push_back(std::make_unique<CFolderBrowser>(ILCreateFromPathW(argv[i]), nullptr));
        windows.push_back(std::make_unique<CExplorerWindow>(CExplorerWindow::Answer::Browser, browsers.back().get()));
        list.windows.push_back(windows.back().get());
    }
    const CRegisteredShellWindows registration(list);

    const HMODULE library = LoadLibraryW(argv[1]);
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    const auto getClassObject = library ? reinterpret_cast<GetClassObject>(
                                              reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")))
                                        : nullptr;
    CInterfacePtr<IClassFactory> factory;
    CInterfacePtr<IContextMenu3> handler;
    CInterfacePtr<IShellExtInit> init;
    if (!getClassObject || FAILED(getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, factory.PutVoid())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IContextMenu3, handler.PutVoid())) ||
        FAILED(handler->QueryInterface(IID_IShellExtInit, init.PutVoid())))
        return 1;
    PIDLIST_ABSOLUTE folder = ILCreateFromPathW(argv[2]);
    const HRESULT initialized = init->Initialize(folder, nullptr, nullptr);
    ILFree(folder);
    if (FAILED(initialized))
        return 1;

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VerbosaMenuHost";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowW(L"VerbosaMenuHost", L"Menu host", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
    CMenuHandle menu(CreatePopupMenu());
    for (const wchar_t* text : {L"View", L"Sort by", L"Refresh", L"Paste", L"Properties"})
        AppendMenuW(menu.Get(), MF_STRING, 1, text);
    handler->QueryContextMenu(menu.Get(), 3, 100, 0x7FFF, CMF_NORMAL);
    g_handler = handler.Get();
    SetForegroundWindow(window);
    const UINT_PTR timer = SetTimer(window, 1, 500, OnTick);
    TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN, 20, 20, 0, window, nullptr);
    KillTimer(window, timer);
    g_handler = nullptr;
    DestroyWindow(window);
    return 0;
}
