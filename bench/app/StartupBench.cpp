// Start-up as the user waits for it: from CreateProcess to the main window
// shown and drawn with My Commands filled, for 0, 100 and 1,000 commands,
// beside a bare program that shows the same dialog template with an empty
// list. The two start in turns; the ratio is the median of each turn's ratio.
// A third program, the floor, is the bare one with the program's libraries
// loaded, COM started and the list shown with as many rows (texts and a stock
// icon): what the platform takes for that screen whatever the program does.
//
// quillon.exe finds its commands beside itself, so it is copied, with its
// library and help, into a scratch program folder that holds a Cmds folder.
// The first-run set-up is done once per user, not per start: when the
// settings key is missing it is seeded (and removed again at the end).
#include "bench/MedianTime.h"
#include "bench/app/BenchCommands.h"
#include "contract/StoreContract.h"
#include "framework/Handles.h"
#include "resources/MainWindowIds.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* ascii)
{
    return std::wstring(ascii, ascii + strlen(ascii));
}

std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// Seeds the settings a first start would write, unless they are there.
class CSeededSettings {
public:
    explicit CSeededSettings(const std::wstring& program)
    {
        HKEY probe = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(contract::kSettingsKey).c_str(), 0, KEY_READ, &probe)
            == ERROR_SUCCESS) {
            RegCloseKey(probe);
            return;
        }
        HKEY store = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(contract::kFastFolderKey).c_str(), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &store, nullptr) != ERROR_SUCCESS)
            return;
        m_seeded = true;
        RegSetValueExW(store, Wide(contract::kProgramPathValue).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(program.c_str()),
                       static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(store);
    }
    ~CSeededSettings()
    {
        if (!m_seeded)
            return;
        RegDeleteKeyW(HKEY_CURRENT_USER, Wide(contract::kFastFolderKey).c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, Wide(contract::kSettingsKey).c_str());
    }
    CSeededSettings(const CSeededSettings&) = delete;
    CSeededSettings& operator=(const CSeededSettings&) = delete;

private:
    bool m_seeded = false;
};

struct WindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindShownDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    GetClassNameW(window, className, ARRAYSIZE(className));
    if (owner == search->process && IsWindowVisible(window) && lstrcmpW(className, L"#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

constexpr double kGiveUpMs = 60000;

// Starts the program and waits until its dialog is shown with `rows` rows
// in the My Commands list; closes it again. Negative: it never got there.
double TimeStart(const std::wstring& program, int rows, const std::wstring& arguments = {})
{
    using Clock = std::chrono::steady_clock;
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    const auto begin = Clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started))
        return -1;
    CKernelHandle process(started.hProcess);
    CKernelHandle thread(started.hThread);
    const auto elapsed = [&begin] { return std::chrono::duration<double, std::milli>(Clock::now() - begin).count(); };

    double ms = -1;
    HWND shown = nullptr;
    while (elapsed() < kGiveUpMs) {
        WindowSearch search{started.dwProcessId, nullptr};
        EnumWindows(FindShownDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            shown = search.found;
            DWORD_PTR count = 0;
            HWND list = GetDlgItem(shown, IDC_COMMAND_LIST);
            // Drawn too: rows whose pictures come at the first paint count
            // only once they are on the screen.
            if (list && SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count)
                && static_cast<int>(count) == rows && !GetUpdateRect(shown, nullptr, FALSE)
                && !GetUpdateRect(list, nullptr, FALSE)) {
                ms = elapsed();
                break;
            }
        }
        if (WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0)
            return -1;
    }
    if (shown)
        PostMessageW(shown, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.Get(), 1);
    return ms;
}

bool CopyBeside(const std::wstring& from, const std::wstring& to, const wchar_t* name)
{
    return CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE) != 0;
}

// User commands are listed too: a prefix that holds some shows them.
int UserCommandCount()
{
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return 0;
    int count = 0;
    WIN32_FIND_DATAW found{};
    CFindHandle search(FindFirstFileW((std::wstring(appData) + L"\\Verbosa\\Cmds\\*.cfg").c_str(), &found));
    if (search)
        do
            ++count;
        while (FindNextFileW(search.Get(), &found));
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    // Optional: the largest size to run (default 1000) and the turns per size.
    const int largest = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int turns = argc > 2 ? std::atoi(argv[2]) : 0;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring built = ModuleFolder();
    const std::wstring root = MakeScratchFolder(L"verbosa-startup-");
    const std::wstring programFolder = root + L"\\program";
    const std::wstring bareFolder = root + L"\\bare";
    CreateDirectoryW(programFolder.c_str(), nullptr);
    CreateDirectoryW(bareFolder.c_str(), nullptr);
    const std::wstring program = programFolder + L"\\quillon.exe";
    const std::wstring bare = bareFolder + L"\\bench_app_startup_dialog.exe";
    const std::wstring floor = bareFolder + L"\\bench_app_startup_floor.exe";
    if (!CopyBeside(built, programFolder, L"quillon.exe") || !CopyBeside(built, programFolder, L"Tesselator.dll")
        || !CopyBeside(built, bareFolder, L"bench_app_startup_dialog.exe")
        || !CopyBeside(built, bareFolder, L"bench_app_startup_floor.exe")) {
        std::printf("could not copy the programs from %ls\n", built.c_str());
        return 1;
    }
    CopyBeside(built, programFolder, L"quillon.chm");
    const CSeededSettings settings(program);
    const std::wstring cmds = programFolder + L"\\Cmds";
    const int userCommands = UserCommandCount();
    if (userCommands > 0)
        std::printf("(the prefix holds %d user commands; every count includes them)\n", userCommands);

    std::printf("%8s %11s %9s %7s %7s %9s %7s\n", "commands", "quillon ms", "bare ms", "ratio", "goal", "floor ms",
                "ratio");
    for (const int count : {0, 100, 1000}) {
        if (count > largest)
            break;
        RemoveTree(cmds);
        MakeCommands(cmds, count);
        const int rows = count + userCommands;
        // Warm both: the first start of a program pays for loading its files.
        if (TimeStart(program, rows) < 0 || TimeStart(bare, 0) < 0 || TimeStart(floor, rows, std::to_wstring(rows)) < 0) {
            std::printf("%8d: the program did not show its list of %d rows\n", count, rows);
            continue;
        }
        const int runs = turns > 0 ? turns : count >= 1000 ? 7 : 11;
        std::vector<double> product, plain, ratios, floors, floorRatios;
        for (int i = 0; i < runs; ++i) {
            const double ours = TimeStart(program, rows);
            const double theirs = TimeStart(bare, 0);
            const double least = TimeStart(floor, rows, std::to_wstring(rows));
            if (ours < 0 || theirs < 0 || least < 0)
                continue; // said below
            product.push_back(ours);
            plain.push_back(theirs);
            ratios.push_back(ours / theirs);
            floors.push_back(least);
            floorRatios.push_back(ours / least);
        }
        if (product.size() < static_cast<size_t>(runs))
            std::printf("%8d: %d of %d turns failed\n", count, runs - static_cast<int>(product.size()), runs);
        if (product.empty())
            continue;
        const char* goal = count == 100 ? " 1.50x" : "      ";
        std::printf("%8d %11.1f %9.1f %6.2fx %7s %9.1f %6.2fx\n", count, Median(product), Median(plain),
                    Median(ratios), goal, Median(floors), Median(floorRatios));
    }

    RemoveTree(cmds);
    RemoveTree(programFolder);
    RemoveTree(bareFolder);
    RemoveDirectoryW(root.c_str());
    return 0;
}
