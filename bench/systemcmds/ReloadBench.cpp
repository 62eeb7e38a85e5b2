// Reloads the System Commands list of a real (hidden) main window from
// 100, 1,000 and 5,000 App Paths entries in a scratch registry root, beside
// a bare loop that opens the App Paths key once, enumerates the subkeys and
// reads each default value. The two run in turns, so both see the same
// moments of a busy wineserver; the ratio is the median of each turn's
// ratio. Also times the count alone. Targets mix what real entries hold:
// quoted and plain program paths (present and missing), entries without a
// value, and a few of our own shortcut entries that the page skips. Icons
// are extracted when rows are drawn, which a hidden list never does.
#include "framework/CodePage.h"
#include "app/MainDlg.h"
#include "bench/MedianTime.h"
#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"
#include "systemcmds/AppPathsStore.h"

#include <cstdio>
#include <string>

namespace {

// HKLM of this process redirected to a scratch key under HKCU.
class CScratchMachineRoot {
public:
    CScratchMachineRoot()
    {
        m_path = "Software\\VerbosaBench\\" + std::to_string(GetCurrentProcessId());
        RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key);
    }
    ~CScratchMachineRoot()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(m_key);
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    }
    CScratchMachineRoot(const CScratchMachineRoot&) = delete;
    CScratchMachineRoot& operator=(const CScratchMachineRoot&) = delete;

private:
    std::string m_path;
    HKEY m_key = nullptr;
};

void MakeEntries(int count)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppPathsKey);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string win = windows;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        std::string target;
        switch (i % 10) {
        case 0: target = "\"" + win + "\\notepad.exe\""; break;
        case 1: target = win + "\\regedit.exe"; break;
        case 2: target = win + "\\system32\\calc.exe"; break;
        case 3: target = "\"C:\\Program Files\\Vendor" + n + "\\app" + n + ".exe\""; break;
        case 4: target = "C:\\Program Files (x86)\\Tool" + n + "\\tool.exe"; break;
        case 5: target = "C:\\Apps\\viewer" + n + ".com"; break;
        case 6: target = "C:\\Verbosa\\Cmds\\run_cmd" + n + ".lnk"; break;
        case 7: target = "C:\\Scripts\\job" + n + ".bat"; break;
        case 8: break; // no default value
        default: target = "C:\\Apps\\app" + n + ".exe"; break;
        }
        CRegistryKey key;
        key.Create(HKEY_LOCAL_MACHINE, AppPathsEntryKey(AnsiToWide("app" + n + (i % 10 == 5 ? ".com" : ".exe"))), KEY_WRITE);
        if (i % 10 != 8)
            key.WriteString(L"", AnsiToWide(target));
        if (i % 10 == 3)
            key.WriteString(L"Path", AnsiToWide("C:\\Program Files\\Vendor" + n));
    }
}

// What any reload cannot do without: walk the subkeys and read each value.
size_t BareLoop()
{
    HKEY appPaths = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, KEY_ENUMERATE_SUB_KEYS, &appPaths) != ERROR_SUCCESS)
        return 0;
    size_t bytes = 0;
    char name[255];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(appPaths, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY entry = nullptr;
        if (RegOpenKeyExA(appPaths, name, 0, KEY_QUERY_VALUE, &entry) != ERROR_SUCCESS)
            continue;
        char value[260] = {};
        DWORD size = sizeof(value);
        if (RegQueryValueExA(entry, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS)
            bytes += size;
        RegCloseKey(entry);
    }
    RegCloseKey(appPaths);
    return bytes;
}

} // namespace

int main()
{
    InitCommonControls();
    CScratchMachineRoot root;
    CMainDlg window;
    if (!window.Create(nullptr, true)) {
        std::printf("could not create the main window\n");
        return 1;
    }

    std::printf("%8s %11s %9s %7s %10s %11s\n", "entries", "reload ms", "bare ms", "ratio", "ms/1000", "count ms");
    for (int count : {100, 1000, 5000}) {
        MakeEntries(count);
        const int runs = count >= 5000 ? 9 : 21;
        BareLoop(); // warm both
        window.SystemPage().LoadSystemCommands();
        const PairedTimes paired = MedianPairedMs(runs, [&] { window.SystemPage().LoadSystemCommands(); }, [&] { BareLoop(); });
        const double reload = paired.first;
        const double bare = paired.second;
        const double walk = MedianMs(runs, [&] { window.SystemPage().CountAppPathsEntries(); });
        const int expected = count - count / 10; // our own shortcut entries are skipped
        if (window.SystemPage().List().GetItemCount() != expected)
            std::printf("listed %d of %d\n", window.SystemPage().List().GetItemCount(), expected);
        std::printf("%8d %11.1f %9.1f %6.2fx %10.1f %11.1f\n", count, reload, bare, paired.ratio,
                    reload * 1000.0 / count, walk);
    }
    window.DestroyWindow();
    return 0;
}
