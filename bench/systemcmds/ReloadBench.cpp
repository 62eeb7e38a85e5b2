// Reloads the System Commands list of a real (hidden) main window from
// 100, 1,000 and 5,000 App Paths entries in a scratch registry root, beside
// a bare loop that opens the App Paths key once, enumerates the subkeys and
// reads each default value. The two run in turns, so both see the same
// moments of a busy wineserver; the ratio is the median of each turn's
// ratio. Also times the count alone. Targets mix what real entries hold:
// quoted and plain program paths (present and missing), entries without a
// value, and a few of our own shortcut entries that the page skips. Icons
// are extracted when rows are drawn, which a hidden list never does. Our own
// entries' shortcuts exist (a sound command is not listed); the reload
// probes only those. Then, per size, the time from a reload's start until
// the status pass has told every row (the window's messages pumped).
// Goal: a reload costs at most 1.5 times the bare walk.
#include "app/MainDlg.h"
#include "bench/MedianTime.h"
#include "bench/ScratchRoots.h"
#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"
#include "systemcmds/AppPathsStore.h"

#include <cstdio>
#include <string>

namespace {

// Stands for the program's Cmds folder: the shortcuts of our own entries.
std::wstring ShortcutFolder()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"verbosa-reload-bench";
}

void MakeEntries(int count)
{
    const std::wstring shortcuts = ShortcutFolder();
    CreateDirectoryW(shortcuts.c_str(), nullptr);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppPathsKey);
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring win = windows;
    for (int i = 0; i < count; ++i) {
        const std::wstring n = std::to_wstring(i);
        std::wstring target;
        switch (i % 10) {
        case 0: target = L"\"" + win + L"\\notepad.exe\""; break;
        case 1: target = win + L"\\regedit.exe"; break;
        case 2: target = win + L"\\system32\\calc.exe"; break;
        case 3: target = L"\"C:\\Program Files\\Vendor" + n + L"\\app" + n + L".exe\""; break;
        case 4: target = L"C:\\Program Files (x86)\\Tool" + n + L"\\tool.exe"; break;
        case 5: target = L"C:\\Apps\\viewer" + n + L".com"; break;
        case 6:
            target = shortcuts + L"\\run_cmd" + n + L".lnk";
            CloseHandle(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            break;
        case 7: target = L"C:\\Scripts\\job" + n + L".bat"; break;
        case 8: break; // no default value
        default: target = L"C:\\Apps\\app" + n + L".exe"; break;
        }
        CRegistryKey key;
        key.Create(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"app" + n + (i % 10 == 5 ? L".com" : L".exe")), KEY_WRITE);
        if (i % 10 != 8)
            key.WriteString(L"", target);
        if (i % 10 == 3)
            key.WriteString(L"Path", L"C:\\Program Files\\Vendor" + n);
    }
}

// What any reload cannot do without: walk the subkeys and read each value.
size_t BareLoop()
{
    HKEY appPaths = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, KEY_ENUMERATE_SUB_KEYS, &appPaths) != ERROR_SUCCESS)
        return 0;
    size_t bytes = 0;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(appPaths, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY entry = nullptr;
        if (RegOpenKeyExW(appPaths, name, 0, KEY_QUERY_VALUE, &entry) != ERROR_SUCCESS)
            continue;
        wchar_t value[260] = {};
        DWORD size = sizeof(value);
        if (RegQueryValueExW(entry, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS)
            bytes += size;
        RegCloseKey(entry);
    }
    RegCloseKey(appPaths);
    return bytes;
}

void RemoveShortcuts(int count)
{
    for (int i = 6; i < count; i += 10)
        DeleteFileW((ShortcutFolder() + L"\\run_cmd" + std::to_wstring(i) + L".lnk").c_str());
    RemoveDirectoryW(ShortcutFolder().c_str());
}

// Runs the window's messages until every row's status has arrived.
void PumpUntilKnown(CMainDlg& window)
{
    MSG message{};
    while (!window.SystemPage().StatusesKnown()) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

constexpr double kGoalRatio = 1.5;

} // namespace

int main()
{
    InitCommonControls();
    const CScratchRoots root{{HKEY_LOCAL_MACHINE, L"HKLM"}};
    CMainDlg window;
    if (!window.Create(nullptr, true)) {
        std::printf("could not create the main window\n");
        return 1;
    }

    std::printf("%8s %11s %9s %7s %7s %5s %10s %11s\n", "entries", "reload ms", "bare ms", "ratio", "goal", "met",
                "ms/1000", "count ms");
    const int counts[] = {100, 1000, 5000};
    double known[3] = {};
    for (int size = 0; size < 3; ++size) {
        const int count = counts[size];
        MakeEntries(count);
        const int runs = count >= 5000 ? 9 : 21;
        BareLoop(); // warm both
        window.SystemPage().LoadSystemCommands();
        PumpUntilKnown(window);
        // The status pass a reload starts ends before the bare walk is timed,
        // so the walk never shares the machine with it.
        const PairedTimes paired = MedianPairedMs(
            runs, [&] { window.SystemPage().LoadSystemCommands(); }, [&] { BareLoop(); },
            [&] { PumpUntilKnown(window); });
        const double reload = paired.first;
        const double bare = paired.second;
        PumpUntilKnown(window);
        const double walk = MedianMs(runs, [&] { window.SystemPage().CountAppPathsEntries(); });
        const int expected = count - count / 10; // our own shortcut entries are skipped
        if (window.SystemPage().List().GetItemCount() != expected)
            std::printf("listed %d of %d\n", window.SystemPage().List().GetItemCount(), expected);
        std::printf("%8d %11.1f %9.1f %6.2fx %6.2fx %5s %10.1f %11.1f\n", count, reload, bare, paired.ratio, kGoalRatio,
                    paired.ratio <= kGoalRatio ? "yes" : "NO", reload * 1000.0 / count, walk);
        known[size] = MedianMs(count >= 5000 ? 5 : 11, [&] {
            window.SystemPage().LoadSystemCommands();
            PumpUntilKnown(window);
        });
        RemoveShortcuts(count);
    }
    std::printf("%8s %22s\n", "entries", "all statuses known ms");
    for (int size = 0; size < 3; ++size)
        std::printf("%8d %22.1f\n", counts[size], known[size]);
    window.DestroyWindow();
    return 0;
}
