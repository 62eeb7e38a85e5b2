// How long the shell waits for the Fast Folders handler with ten aliases,
// against a bare read of the store (open the key, read its ten values):
// - warm: Initialize + QueryContextMenu of a fresh handler in a process that
//   has shown menus before; handler and bare read alternate within each
//   iteration, so both meet the same machine load;
// - first: the first right-click in a freshly started process (load the
//   library, create the handler, Initialize, QueryContextMenu) against a
//   fresh process's first bare read. The bench starts itself as the child,
//   handler and bare children in turns; each child times its own first
//   operation and reports it through its exit code, the handler's child
//   also its phases (load, class object, create, Initialize,
//   QueryContextMenu) through a file.
// Two floors are shown for scale, each what any handler of this menu asks
// of the platform and no handler goes below: warm, the bare read with the
// switch of open folders beside it, the folder's path and the two empty
// popups (submenu and nested submenu); first, a third child that loads an
// empty library built the same way, then does the same.
// The medians are compared.
// Usage: bench_shellext_menu [iterations] [fresh processes of each kind]
#include "TesselatorLib.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kStoreKey[] = L"Software\\Kelto\\quillon30\\FastFolders";
constexpr int kAliases = 10;
// The ids a menu uses: the aliases, Settings, and the nested submenu of open
// folders (its placeholder and ten folders), which is on by default.
constexpr int kMenuIds = kAliases + 1 + 11;
constexpr double kWarmGoal = 1.25;
constexpr double kFirstGoal = 2.00;
// A child's exit code is its time in tenths of a microsecond; a crash's
// exception code or this one says it failed.
constexpr DWORD kChildFailed = 0xFFFFFFFF;
constexpr DWORD kChildLimit = 0x7FFFFFFF;

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

// The library reads the store wide; so does the yardstick. The number of
// aliases read. The floors also read the switch beside them, as any menu
// that honours it must.
int BareRead(bool withSwitch = false)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    int read = 0;
    for (int i = 0; i < kAliases; ++i) {
        wchar_t buffer[260] = {};
        DWORD size = sizeof buffer;
        const std::wstring name = std::to_wstring(i);
        if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS)
            ++read;
    }
    if (withSwitch) {
        DWORD value = 0;
        DWORD size = sizeof value;
        RegQueryValueExW(key, L"ShowOpenFolders", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    }
    RegCloseKey(key);
    return read;
}

// Median in microseconds.
double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2] * 1e6;
}

// A library beside this program.
std::wstring LibraryPath(const wchar_t* name = L"Tesselator.dll")
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

GetClassObjectFn LoadHandlerLibrary(const std::wstring& path)
{
    const HMODULE module = LoadLibraryW(path.c_str());
    return module ? reinterpret_cast<GetClassObjectFn>(
                        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")))
                  : nullptr;
}

// The file where the handler's children leave their phases.
std::wstring PhasesFile(const std::wstring& scratch)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"VerbosaBench-" + scratch.substr(scratch.find_last_of(L'\\') + 1) + L".txt";
}

constexpr int kPhases = 5;
constexpr const char* kPhaseNames[kPhases] = {"load", "class object", "create", "Initialize", "QueryContextMenu"};

void AppendPhases(const std::wstring& scratch, double start, const double (&marks)[kPhases])
{
    FILE* file = _wfopen(PhasesFile(scratch).c_str(), L"a");
    if (!file)
        return;
    double previous = start;
    for (double mark : marks) {
        std::fprintf(file, "%.1f ", (mark - previous) * 1e6);
        previous = mark;
    }
    std::fputs("\n", file);
    std::fclose(file);
}

// The median of each phase over the children's lines (in microseconds
// already), then the file goes.
std::vector<double> MedianPhases(const std::wstring& scratch)
{
    std::vector<std::vector<double>> phases(kPhases);
    const std::wstring path = PhasesFile(scratch);
    if (FILE* file = _wfopen(path.c_str(), L"r")) {
        double values[kPhases] = {};
        while (std::fscanf(file, "%lf %lf %lf %lf %lf", &values[0], &values[1], &values[2], &values[3],
                           &values[4]) == kPhases) {
            for (int i = 0; i < kPhases; ++i)
                phases[i].push_back(values[i] / 1e6);
        }
        std::fclose(file);
    }
    DeleteFileW(path.c_str());
    std::vector<double> medians;
    for (const std::vector<double>& phase : phases)
        medians.push_back(Median(phase));
    return medians;
}

// HKEY_CURRENT_USER of this process redirected to a scratch key.
HKEY RedirectUser(const std::wstring& scratch, REGSAM access)
{
    HKEY user = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, access, nullptr, &user, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    RegOverridePredefKey(HKEY_CURRENT_USER, user);
    return user;
}

PIDLIST_ABSOLUTE WindowsFolder()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return ILCreateFromPathW(windows);
}

LONG WINAPI ExitOnCrash(EXCEPTION_POINTERS*)
{
    ExitProcess(kChildFailed);
}

// A child: its first right-click (menu), timed from before the library is
// loaded to the menu built, its first bare read (bare), or the floor under
// the first menu (empty): an empty library's load, the bare read with the
// switch, the folder's path and two popups.
DWORD RunChild(const char* mode, const std::wstring& scratch)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&ExitOnCrash);
    const bool menu = std::strcmp(mode, "menu") == 0;
    const bool empty = std::strcmp(mode, "empty") == 0;
    // What the shell has before a right-click, in every kind of child: COM,
    // the folder's item-ID list and its own menu.
    CoInitialize(nullptr);
    if (!RedirectUser(scratch, KEY_READ))
        return kChildFailed;
    const PIDLIST_ABSOLUTE folder = WindowsFolder();
    const HMENU shellMenu = CreatePopupMenu();
    const std::wstring library = LibraryPath(empty ? L"bench_empty_library.dll" : L"Tesselator.dll");
    Now();

    const double start = Now();
    bool done = false;
    // Each phase's end in the handler's child, written for the parent's
    // profile line.
    double marks[5] = {};
    if (menu) {
        const GetClassObjectFn getClassObject = LoadHandlerLibrary(library);
        marks[0] = Now();
        IClassFactory* factory = nullptr;
        IContextMenu* handler = nullptr;
        IShellExtInit* init = nullptr;
        if (getClassObject &&
            SUCCEEDED(getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, reinterpret_cast<void**>(&factory))) &&
            (marks[1] = Now(), SUCCEEDED(factory->CreateInstance(nullptr, IID_IContextMenu,
                                                                 reinterpret_cast<void**>(&handler)))) &&
            SUCCEEDED(handler->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init))) &&
            (marks[2] = Now(), SUCCEEDED(init->Initialize(folder, nullptr, nullptr)))) {
            marks[3] = Now();
            done = HRESULT_CODE(handler->QueryContextMenu(shellMenu, 0, 1, 0x7FFF, CMF_NORMAL)) == kMenuIds;
            marks[4] = Now();
        }
        if (init)
            init->Release();
        if (handler)
            handler->Release();
        if (factory)
            factory->Release();
    } else if (empty) {
        // The floor: what any handler's first menu asks of the platform.
        wchar_t path[MAX_PATH] = {};
        done = LoadLibraryW(library.c_str()) != nullptr && BareRead(true) == kAliases &&
               SHGetPathFromIDListW(folder, path) && CreatePopupMenu() != nullptr && CreatePopupMenu() != nullptr;
    } else {
        done = BareRead() == kAliases;
    }
    const double elapsed = Now() - start;
    if (menu && done)
        AppendPhases(scratch, start, marks);
    return done ? static_cast<DWORD>(std::min(elapsed * 1e7, static_cast<double>(kChildLimit))) : kChildFailed;
}

// Starts this program as a child and waits for it: its time in seconds, or
// a negative number when it failed.
double TimeChild(const wchar_t* mode, const std::wstring& scratch)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --child " + mode + L" \"" + scratch + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = kChildFailed;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, kChildFailed);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code > kChildLimit ? -1 : code / 1e7;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        const std::string scratch = argv[3];
        return static_cast<int>(RunChild(argv[2], std::wstring(scratch.begin(), scratch.end())));
    }
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int processes = argc > 2 ? std::atoi(argv[2]) : 21;
    CoInitialize(nullptr);

    // A scratch HKEY_CURRENT_USER for this process and its children,
    // holding ten aliases.
    const std::wstring scratch = L"Software\\VerbosaBench\\" + std::to_wstring(GetCurrentProcessId());
    const HKEY user = RedirectUser(scratch, KEY_ALL_ACCESS);
    HKEY store = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &store, nullptr);
    const auto setText = [store](const std::wstring& name, const std::wstring& text) {
        RegSetValueExW(store, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    for (int i = 0; i < kAliases; ++i) {
        const std::wstring index = std::to_wstring(i);
        setText(index, L"Folder number " + index);
        setText(index + index, L"C:\\Users\\Public\\Folder " + index);
    }
    RegCloseKey(store);

    const GetClassObjectFn getClassObject = LoadHandlerLibrary(LibraryPath());
    IClassFactory* factory = nullptr;
    if (!getClassObject ||
        FAILED(getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        std::fprintf(stderr, "cannot load %ls\n", LibraryPath().c_str());
        return 1;
    }
    const PIDLIST_ABSOLUTE folder = WindowsFolder();

    // The floor any handler of this menu pays: the bare read with the switch
    // beside it, plus the platform calls no handler can skip, the folder's
    // path (only file-system folders get the submenu) and the two popups it
    // fills (the submenu and the nested one of open folders).
    std::vector<double> initialize, query, menus, bare, floor;
    for (int i = 0; i < iterations; ++i) {
        IContextMenu* menu = nullptr;
        IShellExtInit* init = nullptr;
        factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu));
        menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init));
        const HMENU shellMenu = CreatePopupMenu();
        const double start = Now();
        init->Initialize(folder, nullptr, nullptr);
        const double middle = Now();
        menu->QueryContextMenu(shellMenu, 0, 1, 0x7FFF, CMF_NORMAL);
        const double end = Now();
        BareRead();
        const double bareEnd = Now();
        BareRead(true);
        wchar_t path[MAX_PATH] = {};
        SHGetPathFromIDListW(folder, path);
        const HMENU popup = CreatePopupMenu();
        const HMENU nested = CreatePopupMenu();
        const double floorEnd = Now();
        DestroyMenu(nested);
        DestroyMenu(popup);
        floor.push_back(floorEnd - bareEnd);
        initialize.push_back(middle - start);
        query.push_back(end - middle);
        menus.push_back(end - start);
        bare.push_back(bareEnd - end);
        DestroyMenu(shellMenu);
        init->Release();
        menu->Release();
    }
    ILFree(folder);
    factory->Release();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);

    // The children open the scratch key themselves (the redirection is per
    // process).
    std::vector<double> firstMenus, firstBare, emptyLoads;
    int failures = 0;
    for (int i = 0; i < processes; ++i) {
        const double menuTime = TimeChild(L"menu", scratch);
        const double bareTime = TimeChild(L"bare", scratch);
        const double emptyTime = TimeChild(L"empty", scratch);
        if (menuTime < 0 || bareTime < 0 || emptyTime < 0) {
            ++failures;
            continue;
        }
        firstMenus.push_back(menuTime);
        firstBare.push_back(bareTime);
        emptyLoads.push_back(emptyTime);
    }

    std::printf("right-click, %d aliases (medians; warm: %d right-clicks, first: %d fresh processes of each kind)\n",
                kAliases, iterations, processes);
    std::printf("  warm: Initialize %.1f us, QueryContextMenu %.1f us\n", Median(initialize), Median(query));
    const std::vector<double> firstPhases = MedianPhases(scratch);
    std::printf("  first:");
    for (int i = 0; i < kPhases; ++i)
        std::printf("%s %s %.1f us", i == 0 ? "" : ",", kPhaseNames[i], firstPhases[i]);
    std::printf("\n");
    std::printf("%-44s %11s %9s %7s %6s\n", "", "Verbosa us", "bare us", "ratio", "goal");
    // A goal of 0 marks a row shown for scale.
    const auto row = [](const char* name, double product, double yardstick, double goal) {
        const double ratio = yardstick > 0 ? product / yardstick : 0;
        if (goal > 0)
            std::printf("%-44s %11.1f %9.1f %6.2fx %5.2fx%s\n", name, product, yardstick, ratio, goal,
                        ratio <= goal ? "" : "  (over)");
        else
            std::printf("%-44s %11.1f %9.1f %6.2fx %6s\n", name, product, yardstick, ratio, "-");
    };
    row("warm: Initialize + QueryContextMenu", Median(menus), Median(bare), kWarmGoal);
    row("  floor: bare + switch + path + 2 popups", Median(floor), Median(bare), 0);
    row("first in a fresh process: load to menu", Median(firstMenus), Median(firstBare), kFirstGoal);
    row("  floor: empty library, the same", Median(emptyLoads), Median(firstBare), 0);
    if (failures > 0)
        std::printf("%d of %d fresh pairs failed and were left out\n", failures, processes);

    RegCloseKey(user);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch.c_str());
    CoUninitialize();
    return processes > 0 && failures == processes ? 1 : 0;
}
