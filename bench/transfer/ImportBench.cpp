// Runs the /import command line (with /log) in process, as the program
// does, for 100 and 1,000 commands for the user alone into empty stores,
// beside a bare loop that writes the same App Paths entries (default value
// and Path), the same shortcuts (IShellLinkW and IPersistFile::Save) and the
// same properties files. The registry roots are scratch keys and the program
// and user data folders scratch folders. The two run in turns on stores
// emptied before each run (not timed), so both see the same moments of a
// busy machine; the ratio is the median of each turn's ratio. Targets mix
// what commands point at: programs that exist and that do not, folders, web
// addresses and documents, with and without parameters.
// Goal: an import costs at most 1.5 times the bare loop. Under Wine a
// shortcut's save starts a process (its menu builder, which the runner
// disables but which is still started), so the shortcuts are most of both
// times; added/cmd is what the import does beyond the bare writes.
#include "bench/MedianTime.h"
#include "bench/ScratchFolders.h"
#include "bench/ScratchRoots.h"
#include "catalogue/CommandPaths.h"
#include "framework/CodePage.h"
#include "framework/ComApartment.h"
#include "framework/Handles.h"
#include "framework/PathText.h"
#include "framework/Services.h"
#include "transfer/TransferCommandLine.h"
#include "transfer/TransferFormat.h"
#include "transfer/TransferRun.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kGoalRatio = 1.5;

size_t CountFiles(const std::wstring& pattern)
{
    size_t count = 0;
    WIN32_FIND_DATAW found{};
    CFindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (search)
        do
            ++count;
        while (FindNextFileW(search.Get(), &found));
    return count;
}

// One command as the file holds it and as the bare loop writes it.
struct BenchCommand {
    std::string name, target, parameters;
    int showCommand;
    std::wstring workingFolder; // what the writer derives from the target
};

std::vector<BenchCommand> MakeCommands(int count, const std::wstring& root)
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string win = WideToUtf8(windows).value_or("C:\\windows");
    const std::string docs = WideToUtf8(root).value_or("C:") + "\\Docs";
    std::vector<BenchCommand> commands;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        BenchCommand c{"cmd" + n, {}, {}, SW_SHOWNORMAL, {}};
        switch (i % 5) {
        case 0: c.target = win + "\\notepad.exe"; c.parameters = "/a " + n + ".txt"; break;
        case 1: c.target = "C:\\Program Files\\Vendor" + n + "\\tool.exe"; break;
        case 2: c.target = docs; break; // a folder: no working folder
        case 3: c.target = "https://example.com/page" + n; break;
        default: c.target = docs + "\\report" + n + ".txt"; c.showCommand = SW_SHOWMAXIMIZED;
        }
        // As the writer derives it: the target's folder, none for a folder.
        if (i % 5 != 2)
            c.workingFolder = GetParentFolder(Utf8ToWide(c.target).value());
        commands.push_back(c);
    }
    return commands;
}

std::string ExportFile(const std::vector<BenchCommand>& commands)
{
    std::vector<TransferCommand> entries;
    for (const BenchCommand& c : commands)
        entries.push_back({c.name, c.target, c.parameters,
                           c.showCommand == SW_SHOWMAXIMIZED ? WindowMode::maximized : WindowMode::normal,
                           CommandScope::user});
    return WriteTransferJson(entries, {});
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// What any import of these commands cannot do without: for each, its App
// Paths entry's two values, its shortcut and its properties file.
void BareLoop(const std::vector<BenchCommand>& commands, const std::wstring& userData)
{
    const std::wstring cmds = userData + L"\\Cmds";
    CreateDirectoryW(userData.c_str(), nullptr);
    CreateDirectoryW(cmds.c_str(), nullptr);
    const std::wstring appPaths = std::wstring(kAppPathsKey) + L"\\";
    for (const BenchCommand& c : commands) {
        const std::wstring name = Utf8ToWide(c.name).value();
        const std::wstring target = Utf8ToWide(c.target).value();
        const std::wstring parameters = Utf8ToWide(c.parameters).value();
        const std::wstring link = cmds + L"\\run_" + name + L".lnk";

        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (appPaths + name + L".exe").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) == ERROR_SUCCESS) {
            RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(link.c_str()),
                           static_cast<DWORD>((link.size() + 1) * sizeof(wchar_t)));
            RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(cmds.c_str()),
                           static_cast<DWORD>((cmds.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }

        CInterfacePtr<IShellLinkW> shellLink;
        CInterfacePtr<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       shellLink.PutVoid()))) {
            shellLink->SetPath(target.c_str());
            shellLink->SetArguments(parameters.c_str());
            shellLink->SetWorkingDirectory(c.workingFolder.c_str());
            shellLink->SetDescription(L"Generated by Verbosa 3.0");
            shellLink->SetShowCmd(c.showCommand);
            if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid())))
                file->Save(link.c_str(), FALSE);
        }

        WriteWholeFile(cmds + L"\\run_" + name + L".cfg", c.name + "\r\n" + c.target + "\r\n" + c.parameters +
                                                              "\r\n" + std::to_string(c.showCommand) + "\r\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0); // figures as they come
    // Optional: the largest size to run (default 1000).
    const int largest = argc > 1 ? std::atoi(argv[1]) : 1000;
    const CComApartment com;
    const CScratchRoots roots{{HKEY_LOCAL_MACHINE, L"HKLM"}, {HKEY_CURRENT_USER, L"HKCU"}};
    const std::wstring root = MakeScratchFolder(L"verbosa-import-bench-");
    CreateDirectoryW((root + L"\\Docs").c_str(), nullptr);
    CreateDirectoryW((root + L"\\AppData").c_str(), nullptr); // %APPDATA% is there before any import
    CServices& services = Services();
    services.programPath = root + L"\\Program\\quillon.exe";
    services.userDataFolder = root + L"\\AppData\\Verbosa";
    services.localDataFolder = root + L"\\LocalAppData\\Verbosa";
    services.machineDataFolder = root + L"\\ProgramData\\Verbosa";
    services.profilesFolder = root + L"\\Users";
    const std::wstring userData = services.userDataFolder;
    const std::wstring file = root + L"\\commands.json";
    const std::wstring log = root + L"\\import.log";
    const TransferParse parse = ParseTransferCommandLine("/import \"" + WideToUtf8(file).value() + "\" /log \"" +
                                                         WideToUtf8(log).value() + "\"");

    // The stores empty again, as on a machine the import has not reached.
    auto empty = [&] {
        RegDeleteTreeW(HKEY_CURRENT_USER, kAppPathsKey);
        RemoveTree(userData);
    };

    std::printf("%9s %11s %9s %7s %7s %5s %11s %11s %11s\n", "commands", "import ms", "bare ms", "ratio", "goal", "met",
                "import/cmd", "bare/cmd", "added/cmd");
    for (int count : {100, 1000}) {
        if (count > largest)
            break;
        std::vector<BenchCommand> commands = MakeCommands(count, root);
        WriteWholeFile(file, ExportFile(commands));
        const int runs = count >= 1000 ? 3 : 5;
        std::vector<double> imports, bares, ratios;
        int incomplete = 0;
        for (int run = 0; run < runs; ++run) {
            empty();
            int code = kTransferFailed;
            imports.push_back(ElapsedMs([&] { code = RunTransfer(parse); }));
            if (code != kTransferDone || CountFiles(userData + L"\\Cmds\\*.lnk") != commands.size() ||
                CountFiles(userData + L"\\Cmds\\*.cfg") != commands.size())
                ++incomplete;
            empty();
            bares.push_back(ElapsedMs([&] { BareLoop(commands, userData); }));
            ratios.push_back(imports.back() / bares.back());
        }
        if (incomplete)
            std::printf("%d of %d imports did not write every command; the log says why: %ls\n", incomplete, runs,
                        log.c_str());
        const double import = Median(imports), bare = Median(bares), ratio = Median(ratios);
        std::printf("%9d %11.1f %9.1f %6.2fx %6.2fx %5s %8.2f ms %8.2f ms %8.2f ms\n", count, import, bare, ratio,
                    kGoalRatio, ratio <= kGoalRatio ? "yes" : "NO", import / count, bare / count,
                    (import - bare) / count);
    }
    empty();
    RemoveTree(root);
    return 0;
}
