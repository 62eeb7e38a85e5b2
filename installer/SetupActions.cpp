// Custom actions of the MSI package (VerbosaSetup.dll, carried in its
// Binary table). Deferred actions get the installation folder as their
// CustomActionData. A failed removal step is logged, never fatal: an
// uninstall that stops half-way would leave more behind.
#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"
#include "installer/SetupSteps.h"

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

namespace {

std::string Property(MSIHANDLE install, const char* name)
{
    DWORD size = 0;
    char empty[1] = "";
    if (MsiGetPropertyA(install, name, empty, &size) != ERROR_MORE_DATA)
        return {};
    std::string value(size + 1, '\0');
    size = static_cast<DWORD>(value.size());
    if (MsiGetPropertyA(install, name, value.data(), &size) != ERROR_SUCCESS)
        return {};
    value.resize(size);
    return value;
}

void Log(MSIHANDLE install, const std::string& text)
{
    PMSIHANDLE record = MsiCreateRecord(0);
    MsiRecordSetStringA(record, 0, text.c_str());
    MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

std::string ProgramFolderOf(MSIHANDLE install)
{
    return TrimTrailingBackslashes(Property(install, "CustomActionData"));
}

void LogFailures(MSIHANDLE install, const char* step, int failures)
{
    if (failures > 0)
        Log(install, std::string("Verbosa: ") + step + ": " + std::to_string(failures) + " item(s) could not be removed");
}

} // namespace

// Wine's RemoveExistingProducts removes the older version without
// UPGRADINGPRODUCTCODE, so the newer package leaves a note for it: the
// product code that is replacing it, under the machine's 64-bit view (a
// package of either architecture may replace the other).
constexpr char kNoteKey[] = "Software\\Kelto\\Verbosa";
constexpr char kNoteValue[] = "UpgradingTo";

// Immediate, in a newer package just before RemoveExistingProducts.
extern "C" UINT __stdcall NoteUpgrade(MSIHANDLE install)
{
    CRegistryKey key;
    if (!key.Create(HKEY_LOCAL_MACHINE, kNoteKey, KEY_SET_VALUE | KEY_WOW64_64KEY) ||
        !key.SetString(kNoteValue, Property(install, "ProductCode")))
        Log(install, "Verbosa: the upgrade note could not be written");
    return ERROR_SUCCESS;
}

// Immediate, in the newer package after RemoveExistingProducts, and in the
// older one once it has read the note: a note is used once.
extern "C" UINT __stdcall ForgetUpgrade(MSIHANDLE)
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kNoteKey, KEY_SET_VALUE | KEY_WOW64_64KEY))
        key.DeleteValue(kNoteValue);
    return ERROR_SUCCESS;
}

// Immediate, at uninstall: a note naming another product means a newer
// version is replacing this one; sets VERBOSAUPGRADE to it, so the user's
// commands and settings stay.
extern "C" UINT __stdcall FindUpgrade(MSIHANDLE install)
{
    std::string note;
    {
        CRegistryKey key;
        if (!key.Open(HKEY_LOCAL_MACHINE, kNoteKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY) ||
            !key.GetStringWhole(kNoteValue, note))
            return ERROR_SUCCESS;
    }
    const std::string productCode = Property(install, "ProductCode");
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, note.c_str(), -1, productCode.c_str(), -1) != CSTR_EQUAL) {
        MsiSetPropertyA(install, "VERBOSAUPGRADE", note.c_str());
        Log(install, "Verbosa: replaced by " + note + "; commands and settings stay");
    }
    return ForgetUpgrade(install);
}

// Deferred, not impersonated: the machine's commands and shell entries.
extern "C" UINT __stdcall RemoveMachineData(MSIHANDLE install)
{
    const std::string folder = ProgramFolderOf(install);
    if (folder.empty())
        return ERROR_SUCCESS;
    LogFailures(install, "shell entries", RemoveMachineShellEntries(folder));
    std::vector<std::string> putBack;
    LogFailures(install, "commands", RemoveCommands(folder + "\\Cmds", CommandScope::machine, putBack));
    for (const std::string& line : putBack)
        Log(install, "Verbosa: " + line);
    return ERROR_SUCCESS;
}

// Deferred, impersonated: the uninstalling user's settings and Fast Folders.
extern "C" UINT __stdcall RemoveUserData(MSIHANDLE install)
{
    const std::string folder = ProgramFolderOf(install);
    if (!folder.empty())
        LogFailures(install, "settings", RemoveUserSettings(folder));
    return ERROR_SUCCESS;
}

// Deferred, not impersonated, with FASTFOLDERS=1. The copy beside the
// program is the one the desktop loads: its failure fails the install. A
// failed x86 copy (for 32-bit programs' dialogs) is logged.
extern "C" UINT __stdcall RegisterFastFolders(MSIHANDLE install)
{
    const std::string folder = ProgramFolderOf(install);
    const ExtensionRegistrationResult result = RegisterMachineShellExtension(folder);
    if (!result.x86Copy)
        Log(install, "Verbosa: the x86 copy of the Fast Folders extension could not be registered");
    if (!result.nativeCopy) {
        Log(install, "Verbosa: the Fast Folders extension could not be registered");
        return ERROR_INSTALL_FAILURE;
    }
    return ERROR_SUCCESS;
}
