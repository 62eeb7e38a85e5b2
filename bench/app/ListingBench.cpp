// Fills the My Commands list of a real (hidden) main window from 100, 1,000
// and 10,000 properties files, beside a bare loop that only finds, opens and
// reads the same files; then the process's memory after 1 and 100 refreshes.
// Targets cycle through the kinds users list: programs, folders, web
// addresses, documents and unknown files.
#include "app/MainDlg.h"
#include "bench/MedianTime.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandProperties.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/Services.h"

#include <psapi.h>

#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring TempRoot()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring root = std::wstring(temp) + L"verbosa-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    return root;
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    CFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                DeleteFileW((folder + L"\\" + name).c_str());
        } while (FindNextFileW(search.Get(), &found));
    }
    search.Reset();
    RemoveDirectoryW(folder.c_str());
}

void MakeCommands(const std::wstring& cmds, int count)
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string win = WideToUtf8(windows).value_or("C:\\Windows"); // ASCII: the same bytes in 1252
    const std::string targets[] = {win + "\\notepad.exe", win + "\\regedit.exe", win + "\\system32\\calc.exe",
                                   win, win + "\\system32", "http://www.example.com/", "C:\\Docs\\report.txt",
                                   "C:\\Docs\\page.html", "C:\\Docs\\data.unknownext", "C:\\"};
    CreateDirectoryW(cmds.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        const std::string name = "cmd" + std::to_string(i);
        const std::string& target = targets[i % (sizeof(targets) / sizeof(targets[0]))];
        WriteWholeFile(cmds + L"\\run_cmd" + std::to_wstring(i) + L".cfg",
                       name + "\r\n" + target + "\r\n-p " + std::to_string(i) + "\r\n1\r\n");
    }
}

// What the fill cannot do without: find the files, open each, read its lines.
size_t BareRead(const std::wstring& cmds)
{
    size_t lines = 0;
    WIN32_FIND_DATAW found{};
    CFindHandle search(FindFirstFileW((cmds + L"\\*.cfg").c_str(), &found));
    if (!search)
        return 0;
    std::vector<std::wstring> read;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            lines += ReadPropertiesLines(cmds + L"\\" + found.cFileName, 3, read);
    } while (FindNextFileW(search.Get(), &found));
    return lines;
}

// Committed memory of the process (Wine reports no private usage).
double CommittedMiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0); // figures as they come
    InitCommonControls();
    // Optional: the largest size to run (default 10000).
    const int largest = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::wstring root = TempRoot();
    Services().programPath = root + L"\\quillon.exe";
    const std::wstring cmds = root + L"\\Cmds";

    CMainDlg window;
    if (!window.Create(nullptr, true)) {
        std::printf("could not create the main window\n");
        return 1;
    }

    std::printf("%8s %12s %12s %7s %10s\n", "files", "fill ms", "bare ms", "ratio", "ms/1000");
    for (int count : {100, 1000, 10000}) {
        if (count > largest)
            break;
        RemoveFolder(cmds);
        MakeCommands(cmds, count);
        const int runs = count >= 10000 ? 3 : 7;
        BareRead(cmds); // warm the file cache for both
        const double fill = MedianMs(runs, [&] { window.CommandsPage().FillCommandList(); });
        const double bare = MedianMs(runs, [&] { BareRead(cmds); });
        if (window.CommandsPage().List().GetItemCount() != count)
            std::printf("listed %d of %d\n", window.CommandsPage().List().GetItemCount(), count);
        std::printf("%8d %12.1f %12.1f %6.2fx %10.1f\n", count, fill, bare, fill / bare, fill * 1000.0 / count);
    }

    std::printf("\n%8s %14s %14s %8s %14s\n", "files", "MiB after 1", "MiB after 100", "growth", "images 1/100");
    for (int count : {1000, 10000}) {
        if (count > largest)
            break;
        RemoveFolder(cmds);
        MakeCommands(cmds, count);
        window.CommandsPage().FillCommandList();
        const double first = CommittedMiB();
        const int imagesFirst = window.CommandsPage().Images().GetImageCount();
        for (int i = 1; i < 100; ++i)
            window.CommandsPage().FillCommandList();
        const double last = CommittedMiB();
        std::printf("%8d %14.2f %14.2f %7.2f%% %7d/%d\n", count, first, last, (last - first) * 100.0 / first,
                    imagesFirst, window.CommandsPage().Images().GetImageCount());
    }

    window.DestroyWindow();
    RemoveFolder(cmds);
    RemoveDirectoryW(root.c_str());
    return 0;
}
