#include "installer/SetupSteps.h"

#include "catalogue/CommandPaths.h"
#include "catalogue/CommandScopeRules.h"
#include "contract/StoreContract.h"
#include "framework/Handles.h"
#include "framework/RegistryKey.h"
#include "shellsettings/ExtensionRegistration.h"
#include "shellsettings/ShortcutVerb.h"

#include <windows.h>

#include <vector>

namespace {

std::string SystemFolder(UINT (WINAPI* query)(LPSTR, UINT))
{
    char buffer[MAX_PATH] = {};
    const UINT n = query(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

// Runs regsvr32 hidden and waits (two minutes at most): an uninstall must
// not remove the library before its unregistration is done.
bool RunAndWait(const ProcessStart& run)
{
    std::string line = "\"" + run.program + "\" " + run.parameters;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(run.program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    CKernelHandle thread(pi.hThread);
    CKernelHandle process(pi.hProcess);
    DWORD code = 1;
    if (WaitForSingleObject(process.Get(), 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.Get(), &code);
    return code == 0;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs both name forms of each copy; a copy counts as done when one of its
// two runs succeeded (only one of them names the file as it was registered).
ExtensionRegistrationResult RunExtensionRegistrations(const std::string& programFolder, bool enable)
{
    const std::vector<ProcessStart> runs =
        ShellExtensionRuns(programFolder, enable, SystemFolder(GetSystemDirectoryA),
                           SystemFolder(GetSystemWow64DirectoryA), FileExists(programFolder + "\\x86\\Tesselator.dll"));
    ExtensionRegistrationResult result;
    for (size_t i = 0; i + 1 < runs.size(); i += 2) {
        const bool longName = RunAndWait(runs[i]);
        const bool shortName = RunAndWait(runs[i + 1]);
        (i == 0 ? result.nativeCopy : result.x86Copy) = longName || shortName;
    }
    return result;
}

int DeleteTree(HKEY root, const std::string& key)
{
    const LONG rc = RegDeleteTreeA(root, key.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        return 0;
    return 1;
}

} // namespace

int RemoveMachineCommands(const std::string& cmdsFolder)
{
    int failures = 0;
    // Names first: deleting while enumerating shifts the indexes.
    std::vector<std::string> ours;
    {
        CRegistryKey appPaths;
        if (appPaths.Open(HKEY_LOCAL_MACHINE, kAppPathsKey, KEY_READ)) {
            std::string name;
            for (DWORD i = 0; appPaths.EnumSubkey(i, name); ++i) {
                CRegistryKey entry;
                std::string target;
                if (entry.Open(appPaths.Handle(), name, KEY_READ) && entry.GetStringWhole("", target) &&
                    IsInsideFolder(target, cmdsFolder))
                    ours.push_back(name);
            }
        }
    }
    for (const std::string& name : ours)
        failures += DeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPathsKey) + "\\" + name);

    for (const char* pattern : {"\\run_*.lnk", "\\run_*.cfg"}) {
        WIN32_FIND_DATAA found = {};
        CFindHandle find(FindFirstFileA((cmdsFolder + pattern).c_str(), &found));
        if (!find)
            continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !DeleteFileA((cmdsFolder + "\\" + found.cFileName).c_str()))
                ++failures;
        } while (FindNextFileA(find.Get(), &found));
    }
    return failures;
}

int RemoveMachineShellEntries(const std::string& programFolder)
{
    if (FileExists(programFolder + "\\Tesselator.dll"))
        RunExtensionRegistrations(programFolder, false);
    // Whatever the unregistration left of the handler key, and the verb.
    int failures = DeleteTree(HKEY_CLASSES_ROOT, "Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator");
    if (!RemoveShortcutVerb(VerbScope::machine))
        ++failures;
    return failures;
}

int RemoveUserSettings(const std::string& programFolder)
{
    int failures = 0;
    // The user's own verb, made at a first run without administrator rights,
    // only when it starts this installation's program.
    CRegistryKey command;
    std::string line;
    if (command.Open(HKEY_CURRENT_USER, "Software\\Classes\\*\\Shell\\Create Shortcut Command\\Command", KEY_READ) &&
        command.GetStringWhole("", line) && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line.c_str(), -1,
                                                           ShortcutVerbCommandLine(programFolder).c_str(),
                                                           -1) == CSTR_EQUAL) {
        command.Close();
        if (!RemoveShortcutVerb(VerbScope::user))
            ++failures;
    }
    failures += DeleteTree(HKEY_CURRENT_USER, contract::kSettingsKey);
    // The vendor key only when nothing else of the vendor's is left in it.
    RegDeleteKeyA(HKEY_CURRENT_USER, contract::kVendorKey);
    return failures;
}

ExtensionRegistrationResult RegisterMachineShellExtension(const std::string& programFolder)
{
    return RunExtensionRegistrations(programFolder, true);
}
