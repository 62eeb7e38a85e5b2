#include "shellsettings/FirstRun.h"

#include "contract/StoreContract.h"
#include "framework/Elevation.h"
#include "framework/RegistryKey.h"
#include "framework/Utf16.h"
#include "shellsettings/ShortcutVerb.h"

std::wstring FastFolderStoreKey()
{
    return AsciiToWide(contract::kFastFolderKey);
}

bool IsFirstRun()
{
    CRegistryKey key;
    return !key.Open(HKEY_CURRENT_USER, AsciiToWide(contract::kSettingsKey), KEY_READ);
}

bool RunFirstTimeSetup(const std::wstring& programFolder)
{
    // Without administrator rights, or when the machine's file classes
    // refuse it all the same, the verb goes to the user's own, which needs
    // none; its result does not count either way.
    if (!IsProcessElevated() || !InstallShortcutVerb(programFolder, VerbScope::machine))
        InstallShortcutVerb(programFolder, VerbScope::user);

    {
        CRegistryKey settings;
        if (!settings.Create(HKEY_CURRENT_USER, AsciiToWide(contract::kSettingsKey), KEY_WRITE))
            return false;
    }
    CRegistryKey store;
    if (!store.Create(HKEY_CURRENT_USER, FastFolderStoreKey(), KEY_WRITE))
        return false;
    // The executable's name is fixed: the shell extension starts quillon.exe.
    return store.WriteString(AsciiToWide(contract::kProgramPathValue),
                             programFolder + L"\\" + AsciiToWide(contract::kProgramFileName));
}

void UndoFirstTimeSetup()
{
    // A key with subkeys is not deleted: the store goes first.
    CRegistryKey::DeleteKey(HKEY_CURRENT_USER, FastFolderStoreKey());
    CRegistryKey::DeleteKey(HKEY_CURRENT_USER, AsciiToWide(contract::kSettingsKey));
}
