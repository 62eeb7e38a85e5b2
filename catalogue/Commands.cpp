#include "catalogue/Commands.h"

#include "catalogue/CommandPaths.h"
#include "catalogue/Shortcut.h"
#include "framework/MessageBox.h"
#include "framework/RegistryKey.h"
#include "resources/Texts.h"

#include <windows.h>

bool CreateCommand(const std::string& name, const std::string& target,
                   const std::string& parameters, int showCommand)
{
    {
        CRegistryKey key;
        if (!key.Create(HKEY_LOCAL_MACHINE, AppPathsKeyName(name), KEY_ALL_ACCESS)) {
            AppMessageBox(IDS_NO_REGISTRY_ACCESS, MB_OK);
            return false;
        }
        key.SetString("", CommandLinkPath(name));
        key.SetString("Path", CmdsFolder());
    }

    CShortcut shortcut;
    shortcut.SetWorkingDirectory(IsExistingFolder(target) ? std::string() : GetParentFolder(target));
    shortcut.SetArguments(parameters);
    shortcut.SetDescription(TXT_LINK_DESCRIPTION);
    shortcut.SetTargetPath(target);
    shortcut.SetShowCommand(showCommand);

    if (!shortcut.CreateLink(CommandLinkPath(name))) {
        AppMessageBox(IDS_NO_SHORTCUT_CREATED, MB_OK);
        return false;
    }
    if (!shortcut.WriteProperties(CommandPropertiesPath(name), name)) {
        AppMessageBox(IDS_NO_PROPERTIES_SAVED, MB_OK);
        return false;
    }
    return true;
}

bool DeleteCommand(const std::string& name)
{
    bool result = true;
    if (!DeleteFileA(CommandLinkPath(name).c_str()))
        result = false;
    if (!DeleteFileA(CommandPropertiesPath(name).c_str()))
        result = false;
    if (!CRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, AppPathsKeyName(name)))
        result = false;
    return result;
}
