// Times Initialize + QueryContextMenu of the Fast Folders handler with ten
// aliases against a bare loop that only opens the store and reads its ten
// values. The two alternate within each iteration, so that both meet the
// same machine load, and the medians are compared.
// Usage: bench_shellext_menu [iterations]
#include "TesselatorLib.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kStoreKey[] = L"Software\\Kelto\\quillon30\\FastFolders";

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

// The library reads the store wide; so does the yardstick.
void BareRead()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < 10; ++i) {
        wchar_t buffer[260] = {};
        DWORD size = sizeof buffer;
        const std::wstring name = std::to_wstring(i);
        RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    }
    RegCloseKey(key);
}

// Median in microseconds.
double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2] * 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 2000;
    CoInitialize(nullptr);

    // A scratch HKEY_CURRENT_USER for this process, holding ten aliases.
    const std::wstring scratch = L"Software\\VerbosaBench\\" + std::to_wstring(GetCurrentProcessId());
    HKEY user = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &user, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, user);
    HKEY store = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &store, nullptr);
    const auto setText = [store](const std::wstring& name, const std::wstring& text) {
        RegSetValueExW(store, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    for (int i = 0; i < 10; ++i) {
        const std::wstring index = std::to_wstring(i);
        setText(index, L"Folder number " + index);
        setText(index + index, L"C:\\Users\\Public\\Folder " + index);
    }
    RegCloseKey(store);

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring library = self;
    library = library.substr(0, library.find_last_of(L'\\')) + L"\\Tesselator.dll";
    const HMODULE module = LoadLibraryW(library.c_str());
    const auto getClassObject = module ? reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
                                             GetProcAddress(module, "DllGetClassObject"))
                                       : nullptr;
    IClassFactory* factory = nullptr;
    if (!getClassObject || FAILED(getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        std::fprintf(stderr, "cannot load %ls\n", library.c_str());
        return 1;
    }
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    PIDLIST_ABSOLUTE folder = ILCreateFromPathW(windows);

    std::vector<double> initialize, query, menus, bare;
    int entries = 0;
    for (int i = 0; i < iterations; ++i) {
        IContextMenu* menu = nullptr;
        IShellExtInit* init = nullptr;
        factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu));
        menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init));
        const HMENU shellMenu = CreatePopupMenu();
        const double start = Now();
        init->Initialize(folder, nullptr, nullptr);
        const double middle = Now();
        entries = HRESULT_CODE(menu->QueryContextMenu(shellMenu, 0, 1, 0x7FFF, CMF_NORMAL));
        const double end = Now();
        BareRead();
        const double bareEnd = Now();
        initialize.push_back(middle - start);
        query.push_back(end - middle);
        menus.push_back(end - start);
        bare.push_back(bareEnd - end);
        DestroyMenu(shellMenu);
        init->Release();
        menu->Release();
    }

    std::printf("iterations: %d, menu ids used: %d (medians per right-click)\n", iterations, entries);
    std::printf("Initialize:                            %8.1f us\n", Median(initialize));
    std::printf("QueryContextMenu:                      %8.1f us\n", Median(query));
    std::printf("Initialize + QueryContextMenu:         %8.1f us\n", Median(menus));
    std::printf("bare loop (open key, read ten values): %8.1f us\n", Median(bare));
    std::printf("ratio:                                 %8.2f (goal: 2.00 or less)\n", Median(menus) / Median(bare));

    ILFree(folder);
    factory->Release();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(user);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch.c_str());
    CoUninitialize();
    return 0;
}
