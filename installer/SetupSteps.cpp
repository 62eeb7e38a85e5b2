#include "installer/SetupSteps.h"

#include "apppaths/AppPathsRoot.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandScopeRules.h"
#include "catalogue/ReplacedEntry.h"
#include "contract/StoreContract.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/PathText.h"
#include "framework/RegistryKey.h"
#include "framework/Utf16.h"
#include "regbackup/AppPathsBackup.h"
#include "resources/Texts.h"
#include "shellsettings/ExtensionRegistration.h"
#include "shellsettings/ShortcutVerb.h"
#include "systemcmds/SystemCommandRules.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring SystemFolder(UINT (WINAPI* query)(LPWSTR, UINT))
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT n = query(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// Runs regsvr32 hidden and waits (two minutes at most): an uninstall must
// not remove the library before its unregistration is done.
bool RunAndWait(const ProcessStart& run)
{
    std::wstring line = L"\"" + run.program + L"\" " + run.parameters;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(run.program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    CKernelHandle thread(pi.hThread);
    CKernelHandle process(pi.hProcess);
    DWORD code = 1;
    if (WaitForSingleObject(process.Get(), 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.Get(), &code);
    return code == 0;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs both name forms of each copy; a copy counts as done when one of its
// two runs succeeded (only one of them names the file as it was registered).
ExtensionRegistrationResult RunExtensionRegistrations(const std::wstring& programFolder, bool enable)
{
    const std::vector<ProcessStart> runs =
        ShellExtensionRuns(programFolder, enable, SystemFolder(GetSystemDirectoryW),
                           SystemFolder(GetSystemWow64DirectoryW), FileExists(programFolder + L"\\x86\\Tesselator.dll"));
    ExtensionRegistrationResult result;
    for (size_t i = 0; i + 1 < runs.size(); i += 2) {
        const bool longName = RunAndWait(runs[i]);
        const bool shortName = RunAndWait(runs[i + 1]);
        (i == 0 ? result.nativeCopy : result.x86Copy) = longName || shortName;
    }
    return result;
}

int DeleteTree(HKEY root, const std::wstring& key)
{
    const LONG rc = CRegistryKey::DeleteTree(root, key);
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        return 0;
    return 1;
}

// The scope's backup folder and its parent once nothing is left in them;
// backups of deleted System Commands keep them.
void RemoveEmptyBackupFolder(CommandScope scope)
{
    const std::wstring folder = BackupFolder(scope);
    if (folder.empty())
        return;
    if (RemoveDirectoryW(folder.c_str()))
        RemoveDirectoryW(GetParentFolder(folder).c_str());
}

// After a command's entry went: the entry it had replaced, from the backup
// its note names, when the note passes the program's checks. The backup
// goes once its entry is back; otherwise it stays and the log says why.
void PutBackReplacedEntry(const std::wstring& keyName, CommandScope scope, const std::wstring& note, bool commandGone,
                          std::vector<std::wstring>& log)
{
    const std::wstring name = SystemCommandDisplayName(keyName);
    const NotedBackup noted = ReadNotedBackup(note, name, scope);
    const std::wstring kept = L"; its backup stays in " + BackupFolder(scope) + L"\\" + noted.shownFile;
    if (!noted.usable) {
        log.push_back(L"the entry " + keyName + L" that the command " + name +
                      L" replaced was not put back: its note is not used (" + noted.why + L")" + kept);
        return;
    }
    if (!commandGone) {
        log.push_back(L"the entry " + keyName + L" was not put back: the command's own entry could not be removed" +
                      kept);
        return;
    }
    const RestoreResult back = RestoreAppPathsBackup(noted.backup, ExistingEntry::keep);
    if (back.status == RestoreStatus::restored) {
        DeleteFileW(noted.backup.file.c_str());
        log.push_back(L"put back the entry " + keyName + L" that the command " + name + L" had replaced");
    } else if (back.status == RestoreStatus::exists) {
        log.push_back(L"the entry " + keyName + L" was not put back: an entry of that name exists again" + kept);
    } else {
        log.push_back(L"the entry " + keyName + L" could not be put back: " + back.why + kept);
    }
}

} // namespace

int RemoveCommands(const std::wstring& cmdsFolder, CommandScope scope, std::vector<std::wstring>& log)
{
    const HKEY root = AppPathsRoot(scope);
    int failures = 0;
    // Names and notes first: deleting while enumerating shifts the indexes.
    struct Entry {
        std::wstring name;
        std::wstring note;
    };
    std::vector<Entry> ours;
    {
        CRegistryKey appPaths;
        if (appPaths.Open(root, kAppPathsKey, KEY_READ)) {
            std::wstring name;
            for (DWORD i = 0; appPaths.EnumSubkey(i, name); ++i) {
                CRegistryKey entry;
                std::wstring target;
                if (entry.Open(appPaths.Handle(), name, KEY_READ) &&
                    entry.ReadString(L"", kRegistryTextWhole, target) && IsInsideFolder(target, cmdsFolder)) {
                    std::wstring note;
                    entry.ReadString(kReplacedEntryValue, kRegistryTextWhole, note);
                    ours.push_back({name, note});
                }
            }
        }
    }
    for (const Entry& entry : ours) {
        const int failed = DeleteTree(root, std::wstring(kAppPathsKey) + L"\\" + entry.name);
        failures += failed;
        if (!entry.note.empty())
            PutBackReplacedEntry(entry.name, scope, entry.note, failed == 0, log);
    }
    RemoveEmptyBackupFolder(scope);

    for (const wchar_t* pattern : {L"\\run_*.lnk", L"\\run_*.cfg"}) {
        WIN32_FIND_DATAW found = {};
        CFindHandle find(FindFirstFileW((cmdsFolder + pattern).c_str(), &found));
        if (!find)
            continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !DeleteFileW((cmdsFolder + L"\\" + found.cFileName).c_str()))
                ++failures;
        } while (FindNextFileW(find.Get(), &found));
    }
    return failures;
}

int RemoveMachineShellEntries(const std::wstring& programFolder)
{
    if (FileExists(programFolder + L"\\Tesselator.dll"))
        RunExtensionRegistrations(programFolder, false);
    // Whatever the unregistration left of the handler key, and the verb.
    int failures = DeleteTree(HKEY_CLASSES_ROOT, L"Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator");
    if (!RemoveShortcutVerb(VerbScope::machine))
        ++failures;
    return failures;
}

int RemoveUserSettings(const std::wstring& programFolder)
{
    int failures = 0;
    // The user's own verb, made at a first run without administrator rights,
    // only when it starts this installation's program.
    CRegistryKey command;
    std::wstring line;
    if (command.Open(HKEY_CURRENT_USER, L"Software\\Classes\\*\\Shell\\Create Shortcut Command\\Command", KEY_READ) &&
        command.ReadString(L"", kRegistryTextWhole, line) &&
        CompareStringOrdinal(line.c_str(), -1, ShortcutVerbCommandLine(programFolder).c_str(), -1, TRUE) ==
            CSTR_EQUAL) {
        command.Close();
        if (!RemoveShortcutVerb(VerbScope::user))
            ++failures;
    }
    failures += DeleteTree(HKEY_CURRENT_USER, AsciiToWide(contract::kSettingsKey));
    // The vendor key only when nothing else of the vendor's is left in it.
    CRegistryKey::DeleteKey(HKEY_CURRENT_USER, AsciiToWide(contract::kVendorKey));
    return failures;
}

ExtensionRegistrationResult RegisterMachineShellExtension(const std::wstring& programFolder)
{
    return RunExtensionRegistrations(programFolder, true);
}
