// Custom actions of the MSI package (VerbosaSetup.dll, carried in its
// Binary table). Deferred actions get the installation folder as their
// CustomActionData. A failed removal step is logged, never fatal: an
// uninstall that stops half-way would leave more behind. Each export runs
// its step behind the exception boundary (ActionBoundary.h).
#include "catalogue/CommandPaths.h"
#include "contract/StoreContract.h"
#include "framework/CodePage.h"
#include "framework/PathText.h"
#include "framework/RegistryKey.h"
#include "framework/Utf16.h"
#include "installer/ActionBoundary.h"
#include "installer/InstallFolderRules.h"
#include "installer/SetupSteps.h"

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

namespace {

std::wstring WideProperty(MSIHANDLE install, const wchar_t* name)
{
    std::wstring value(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(value.size());
        const UINT rc = MsiGetPropertyW(install, name, value.data(), &size);
        if (rc == ERROR_SUCCESS) {
            value.resize(size);
            return value;
        }
        if (rc != ERROR_MORE_DATA)
            break;
        value.assign(size + 1, L'\0');
    }
    return {};
}

void Log(MSIHANDLE install, const std::wstring& text)
{
    LogLine(install, text.c_str());
}

std::wstring ProgramFolderOf(MSIHANDLE install)
{
    return TrimTrailingBackslashes(WideProperty(install, L"CustomActionData"));
}

void LogFailures(MSIHANDLE install, const wchar_t* step, int failures)
{
    if (failures > 0)
        Log(install, std::wstring(L"Verbosa: ") + step + L": " + std::to_wstring(failures) +
                         L" item(s) could not be removed");
}

// Wine's RemoveExistingProducts removes the older version without
// UPGRADINGPRODUCTCODE, so the newer package leaves a note for it: the
// product code that is replacing it, under the machine's 64-bit view (one
// place, whichever architecture's package reads it).
const std::wstring kNoteKey = AsciiToWide(contract::kMachineKey);
constexpr wchar_t kNoteValue[] = L"UpgradingTo";

// Immediate, in a newer package just before RemoveExistingProducts.
UINT NoteUpgradeStep(MSIHANDLE install)
{
    CRegistryKey key;
    if (!key.Create(HKEY_LOCAL_MACHINE, kNoteKey, KEY_SET_VALUE | KEY_WOW64_64KEY) ||
        !key.WriteString(kNoteValue, WideProperty(install, L"ProductCode")))
        Log(install, L"Verbosa: the upgrade note could not be written");
    return ERROR_SUCCESS;
}

// Immediate, in the newer package after RemoveExistingProducts, and in the
// older one once it has read the note: a note is used once.
UINT ForgetUpgradeStep(MSIHANDLE)
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kNoteKey, KEY_SET_VALUE | KEY_WOW64_64KEY))
        key.DeleteValue(kNoteValue);
    return ERROR_SUCCESS;
}

// Immediate, at uninstall: a note naming another product means a newer
// version is replacing this one; sets VERBOSAUPGRADE to it, so the user's
// commands and settings stay.
UINT FindUpgradeStep(MSIHANDLE install)
{
    std::wstring note;
    {
        CRegistryKey key;
        if (!key.Open(HKEY_LOCAL_MACHINE, kNoteKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY) ||
            !key.ReadString(kNoteValue, kRegistryTextWhole, note))
            return ERROR_SUCCESS;
    }
    const std::wstring productCode = WideProperty(install, L"ProductCode");
    if (CompareStringOrdinal(note.c_str(), -1, productCode.c_str(), -1, TRUE) != CSTR_EQUAL) {
        MsiSetPropertyW(install, L"VERBOSAUPGRADE", note.c_str());
        Log(install, L"Verbosa: replaced by " + note + L"; commands and settings stay");
    }
    return ForgetUpgradeStep(install);
}

// Deferred, not impersonated: the machine's commands and shell entries.
UINT RemoveMachineDataStep(MSIHANDLE install)
{
    const std::wstring folder = ProgramFolderOf(install);
    if (folder.empty())
        return ERROR_SUCCESS;
    LogFailures(install, L"shell entries", RemoveMachineShellEntries(folder));
    std::vector<std::wstring> putBack;
    LogFailures(install, L"commands", RemoveCommands(folder + L"\\Cmds", CommandScope::machine, putBack));
    for (const std::wstring& line : putBack)
        Log(install, L"Verbosa: " + line);
    return ERROR_SUCCESS;
}

// Deferred, impersonated: the uninstalling user's settings and Fast Folders.
UINT RemoveUserDataStep(MSIHANDLE install)
{
    const std::wstring folder = ProgramFolderOf(install);
    if (!folder.empty())
        LogFailures(install, L"settings", RemoveUserSettings(folder));
    return ERROR_SUCCESS;
}

// Deferred, not impersonated, with FASTFOLDERS=1. The copy beside the
// program is the one the desktop loads: its failure fails the install. A
// failed x86 copy (for 32-bit programs' dialogs) is logged.
UINT RegisterFastFoldersStep(MSIHANDLE install)
{
    const std::wstring folder = ProgramFolderOf(install);
    const ExtensionRegistrationResult result = RegisterMachineShellExtension(folder);
    if (!result.x86Copy)
        Log(install, L"Verbosa: the x86 copy of the Fast Folders extension could not be registered");
    if (!result.nativeCopy) {
        Log(install, L"Verbosa: the Fast Folders extension could not be registered");
        return ERROR_INSTALL_FAILURE;
    }
    return ERROR_SUCCESS;
}

// The folder of the installed program whose key file belongs to this
// component (whichever product has it); empty when none is installed.
std::wstring InstalledProgramFolder(const std::wstring& component)
{
    if (component.empty())
        return {};
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(path.size());
        const INSTALLSTATE state = MsiLocateComponentW(component.c_str(), path.data(), &size);
        if (state == INSTALLSTATE_MOREDATA) {
            path.assign(size + 1, L'\0');
            continue;
        }
        if (state != INSTALLSTATE_LOCAL && state != INSTALLSTATE_SOURCE && state != INSTALLSTATE_ABSENT)
            return {};
        path.resize(size);
        const size_t slash = path.find_last_of(L'\\');
        return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    }
    return {};
}

// A folder as the file system names it: full, and long where it exists, so
// that "C:\PROGRA~1\Verbosa" is the installed "C:\Program Files\Verbosa".
std::wstring CanonicalFolder(const std::wstring& path)
{
    if (path.empty())
        return path;
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.assign(n, L'\0');
        n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (n == 0 || n >= full.size())
        return path;
    full.resize(n);
    std::wstring longer(full.size() + MAX_PATH, L'\0');
    n = GetLongPathNameW(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (n == 0 || n >= longer.size())
        return full;
    longer.resize(n);
    return longer;
}

// Shows (in a quiet installation: logs) a text the package defines, with
// [1] standing for the folder.
void ReportRefusal(MSIHANDLE install, const wchar_t* textProperty, const std::wstring& folder)
{
    PMSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 0, WideProperty(install, textProperty).c_str());
    MsiRecordSetStringW(record, 1, folder.c_str());
    MsiProcessMessage(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), record);
}

// Immediate, first in both sequences: before anything changes, and before
// CostFinalize resolves INSTALLDIR to the default. Keeps an upgrade (and an
// uninstall's clean-up) in the installed folder, or refuses the package.
UINT KeepInstallFolderStep(MSIHANDLE install)
{
    const std::wstring installed = InstalledProgramFolder(WideProperty(install, L"VerbosaProgramComponent"));
    const std::wstring other = InstalledProgramFolder(WideProperty(install, L"VerbosaOtherProgramComponent"));
    const std::wstring requested = CanonicalFolder(WideProperty(install, L"INSTALLDIR"));
    const bool uninstalling = WideProperty(install, L"REMOVE") == L"ALL";
    switch (ChooseInstallFolder(ToUtf16(installed), ToUtf16(other), ToUtf16(requested), uninstalling)) {
    case FolderChoice::asRequested:
        return ERROR_SUCCESS;
    case FolderChoice::installedFolder:
        LogLine(install, (L"Verbosa: INSTALLDIR is the installed folder, " + installed).c_str());
        return MsiSetPropertyW(install, L"INSTALLDIR", (installed + L"\\").c_str()) == ERROR_SUCCESS
                   ? ERROR_SUCCESS
                   : ERROR_INSTALL_FAILURE;
    case FolderChoice::refuseMove:
        ReportRefusal(install, L"VerbosaMoveRefused", installed);
        return ERROR_INSTALL_FAILURE;
    case FolderChoice::refuseOtherArchitecture:
        ReportRefusal(install, L"VerbosaArchitectureRefused", other);
        return ERROR_INSTALL_FAILURE;
    }
    return ERROR_INSTALL_FAILURE;
}

} // namespace

// The exports: each runs its step behind the exception boundary.
extern "C" UINT __stdcall KeepInstallFolder(MSIHANDLE install)
{
    return RunAction(install, L"KeepInstallFolder", OnException::failInstall, KeepInstallFolderStep);
}

extern "C" UINT __stdcall NoteUpgrade(MSIHANDLE install)
{
    return RunAction(install, L"NoteUpgrade", OnException::failInstall, NoteUpgradeStep);
}

extern "C" UINT __stdcall ForgetUpgrade(MSIHANDLE install)
{
    return RunAction(install, L"ForgetUpgrade", OnException::logAndGoOn, ForgetUpgradeStep);
}

extern "C" UINT __stdcall FindUpgrade(MSIHANDLE install)
{
    return RunAction(install, L"FindUpgrade", OnException::failInstall, FindUpgradeStep);
}

extern "C" UINT __stdcall RemoveMachineData(MSIHANDLE install)
{
    return RunAction(install, L"RemoveMachineData", OnException::logAndGoOn, RemoveMachineDataStep);
}

extern "C" UINT __stdcall RemoveUserData(MSIHANDLE install)
{
    return RunAction(install, L"RemoveUserData", OnException::logAndGoOn, RemoveUserDataStep);
}

extern "C" UINT __stdcall RegisterFastFolders(MSIHANDLE install)
{
    return RunAction(install, L"RegisterFastFolders", OnException::failInstall, RegisterFastFoldersStep);
}
