#include "shellsettings/FirstRun.h"

#include "contract/StoreContract.h"
#include "framework/Elevation.h"
#include "framework/RegistryAnsi.h"
#include "shellsettings/ShortcutVerb.h"

std::string FastFolderStoreKey()
{
    return contract::kFastFolderKey;
}

bool IsFirstRun()
{
    CRegistryKey key;
    return !key.Open(HKEY_CURRENT_USER, AnsiToWide(contract::kSettingsKey), KEY_READ);
}

bool RunFirstTimeSetup(const std::string& programFolder)
{
    // Without administrator rights, or when the machine's file classes
    // refuse it all the same, the verb goes to the user's own, which needs
    // none; its result does not count either way.
    if (!IsProcessElevated() || !InstallShortcutVerb(programFolder, VerbScope::machine))
        InstallShortcutVerb(programFolder, VerbScope::user);

    {
        CRegistryKey settings;
        if (!settings.Create(HKEY_CURRENT_USER, AnsiToWide(contract::kSettingsKey), KEY_WRITE))
            return false;
    }
    CRegistryKey store;
    if (!store.Create(HKEY_CURRENT_USER, AnsiToWide(FastFolderStoreKey()), KEY_WRITE))
        return false;
    // The executable's name is fixed: the shell extension starts quillon.exe.
    return WriteAnsiString(store, contract::kProgramPathValue, programFolder + "\\" + contract::kProgramFileName);
}

void UndoFirstTimeSetup()
{
    // A key with subkeys is not deleted: the store goes first.
    CRegistryKey::DeleteKey(HKEY_CURRENT_USER, AnsiToWide(FastFolderStoreKey()));
    CRegistryKey::DeleteKey(HKEY_CURRENT_USER, AnsiToWide(contract::kSettingsKey));
}
