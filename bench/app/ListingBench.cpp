// Fills the My Commands list of a real (hidden) main window from 100, 1,000
// and 10,000 properties files, beside a bare loop that only finds, opens and
// reads the same files, the two in turns; then the process's memory after 10
// and 100 refreshes. Row icons are extracted when rows are drawn, which a
// hidden list never does: the fill is what a refresh costs before the first
// paint, and the memory figures draw the list after each refresh.
#include "app/MainDlg.h"
#include "bench/app/BenchCommands.h"
#include "bench/MedianTime.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandProperties.h"
#include "framework/Handles.h"
#include "framework/Services.h"
#include "tests/support/DrawList.h"

#include <psapi.h>

#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

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
    const std::wstring root = MakeScratchFolder(L"verbosa-bench-");
    Services().programPath = root + L"\\quillon.exe";
    const std::wstring cmds = root + L"\\Cmds";

    CMainDlg window;
    if (!window.Create(nullptr, true)) {
        std::printf("could not create the main window\n");
        return 1;
    }

    std::printf("%8s %12s %12s %7s %7s %10s\n", "files", "fill ms", "bare ms", "ratio", "goal", "ms/1000");
    for (int count : {100, 1000, 10000}) {
        if (count > largest)
            break;
        RemoveTree(cmds);
        MakeCommands(cmds, count);
        const int runs = count >= 10000 ? 3 : count >= 1000 ? 11 : 21;
        BareRead(cmds); // warm the file cache for both
        const PairedTimes paired = MedianPairedMs(runs, [&] { window.CommandsPage().FillCommandList(); },
                                                  [&] { BareRead(cmds); });
        const double goal = count <= 100 ? 1.5 : 1.25;
        if (window.CommandsPage().List().GetItemCount() != count)
            std::printf("listed %d of %d\n", window.CommandsPage().List().GetItemCount(), count);
        std::printf("%8d %12.1f %12.1f %6.2fx %6.2fx %10.1f\n", count, paired.first, paired.second, paired.ratio,
                    goal, paired.first * 1000.0 / count);
    }

    // The first refreshes that draw grow the heap once (the drawing's own
    // buffers); a leak would go on growing from the 10th to the 100th.
    std::printf("\n%8s %14s %14s %8s %14s\n", "files", "MiB after 10", "MiB after 100", "growth", "images 10/100");
    const auto refresh = [&window] {
        window.CommandsPage().FillCommandList();
        DrawList(window.CommandsPage().List().GetSafeHwnd());
    };
    for (int count : {1000, 10000}) {
        if (count > largest)
            break;
        RemoveTree(cmds);
        MakeCommands(cmds, count);
        for (int i = 0; i < 10; ++i)
            refresh();
        const double first = CommittedMiB();
        const int imagesFirst = window.CommandsPage().Images().GetImageCount();
        for (int i = 10; i < 100; ++i)
            refresh();
        const double last = CommittedMiB();
        std::printf("%8d %14.2f %14.2f %7.2f%% %7d/%d\n", count, first, last, (last - first) * 100.0 / first,
                    imagesFirst, window.CommandsPage().Images().GetImageCount());
    }

    window.DestroyWindow();
    RemoveTree(cmds);
    RemoveDirectoryW(root.c_str());
    return 0;
}
