#include "installer/SetupSteps.h"

#include "apppaths/AppPathsRoot.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandScopeRules.h"
#include "catalogue/ReplacedEntry.h"
#include "contract/StoreContract.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/RegistryAnsi.h"
#include "regbackup/AppPathsBackup.h"
#include "resources/Texts.h"
#include "shellsettings/ExtensionRegistration.h"
#include "shellsettings/ShortcutVerb.h"
#include "systemcmds/SystemCommandRules.h"

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
    const LONG rc = CRegistryKey::DeleteTree(root, AnsiToWide(key));
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        return 0;
    return 1;
}

// The scope's backup folder and its parent once nothing is left in them;
// backups of deleted System Commands keep them.
void RemoveEmptyBackupFolder(CommandScope scope)
{
    std::u16string folder;
    if (!AnsiToUtf16(BackupFolder(scope), folder) || folder.empty())
        return;
    if (RemoveDirectoryW(reinterpret_cast<const wchar_t*>(folder.c_str())))
        RemoveDirectoryW(reinterpret_cast<const wchar_t*>(folder.substr(0, folder.rfind(u'\\')).c_str()));
}

// After a command's entry went: the entry it had replaced, from the backup
// its note names, when the note passes the program's checks. The backup
// goes once its entry is back; otherwise it stays and the log says why.
void PutBackReplacedEntry(const std::string& keyName, CommandScope scope, const std::string& note, bool commandGone,
                          std::vector<std::string>& log)
{
    const std::string name = SystemCommandDisplayName(keyName);
    const NotedBackup noted = ReadNotedBackup(note, name, scope);
    const std::string kept = "; its backup stays in " + BackupFolder(scope) + "\\" + noted.shownFile;
    if (!noted.usable) {
        log.push_back("the entry " + keyName + " that the command " + name +
                      " replaced was not put back: its note is not used (" + noted.why + ")" + kept);
        return;
    }
    if (!commandGone) {
        log.push_back("the entry " + keyName + " was not put back: the command's own entry could not be removed" +
                      kept);
        return;
    }
    const RestoreResult back = RestoreAppPathsBackup(noted.backup, ExistingEntry::keep);
    if (back.status == RestoreStatus::restored) {
        std::u16string file;
        if (AnsiToUtf16(noted.backup.file, file))
            DeleteFileW(reinterpret_cast<const wchar_t*>(file.c_str()));
        log.push_back("put back the entry " + keyName + " that the command " + name + " had replaced");
    } else if (back.status == RestoreStatus::exists) {
        log.push_back("the entry " + keyName + " was not put back: an entry of that name exists again" + kept);
    } else {
        log.push_back("the entry " + keyName + " could not be put back: " + back.why + kept);
    }
}

} // namespace

int RemoveCommands(const std::string& cmdsFolder, CommandScope scope, std::vector<std::string>& log)
{
    const HKEY root = AppPathsRoot(scope);
    int failures = 0;
    // Names and notes first: deleting while enumerating shifts the indexes.
    struct Entry {
        std::string name;
        std::string note;
    };
    std::vector<Entry> ours;
    {
        CRegistryKey appPaths;
        if (appPaths.Open(root, AnsiToWide(kAppPathsKey), KEY_READ)) {
            std::wstring name;
            for (DWORD i = 0; appPaths.EnumSubkey(i, name); ++i) {
                CRegistryKey entry;
                std::string target;
                if (entry.Open(appPaths.Handle(), name, KEY_READ) &&
                    ReadAnsiString(entry, kRegistryTextWhole, "", target) && IsInsideFolder(target, cmdsFolder)) {
                    std::string note;
                    ReadAnsiString(entry, kRegistryTextWhole, kReplacedEntryValue, note);
                    ours.push_back({WideToAnsi(name.c_str(), name.size()), note});
                }
            }
        }
    }
    for (const Entry& entry : ours) {
        const int failed = DeleteTree(root, std::string(kAppPathsKey) + "\\" + entry.name);
        failures += failed;
        if (!entry.note.empty())
            PutBackReplacedEntry(entry.name, scope, entry.note, failed == 0, log);
    }
    RemoveEmptyBackupFolder(scope);

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
    if (command.Open(HKEY_CURRENT_USER, L"Software\\Classes\\*\\Shell\\Create Shortcut Command\\Command", KEY_READ) &&
        ReadAnsiString(command, kRegistryTextWhole, "", line) &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line.c_str(), -1,
                       ShortcutVerbCommandLine(programFolder).c_str(), -1) == CSTR_EQUAL) {
        command.Close();
        if (!RemoveShortcutVerb(VerbScope::user))
            ++failures;
    }
    failures += DeleteTree(HKEY_CURRENT_USER, contract::kSettingsKey);
    // The vendor key only when nothing else of the vendor's is left in it.
    RegDeleteKeyW(HKEY_CURRENT_USER, AnsiToWide(contract::kVendorKey).c_str());
    return failures;
}

ExtensionRegistrationResult RegisterMachineShellExtension(const std::string& programFolder)
{
    return RunExtensionRegistrations(programFolder, true);
}
