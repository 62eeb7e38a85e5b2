#include "systemcmds/AppPathsStore.h"

#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"
#include "systemcmds/SystemCommandRules.h"

std::string AppPathsEntryKey(const std::string& keyName)
{
    return std::string(kAppPathsKey) + "\\" + keyName;
}

bool EnumAppPathsKey(CRegistryKey& holder, DWORD index, std::string& name)
{
    if (!holder.Open(HKEY_LOCAL_MACHINE, kAppPathsKey, KEY_ENUMERATE_SUB_KEYS))
        return false;
    if (!holder.EnumSubkey(index, name)) {
        holder.Close();
        return false;
    }
    return true;
}

bool ReadAppPathsTarget(CRegistryKey& holder, const std::string& keyName, std::string& path)
{
    if (!holder.Open(HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName), KEY_QUERY_VALUE))
        return false;
    std::string value;
    const bool read = holder.GetString("", value);
    holder.Close();
    if (!read)
        return false;
    path = StripTargetQuotes(value);
    return true;
}

SystemCommandEntry ReadSystemCommandEntry(CRegistryKey& holder, const std::string& keyName)
{
    SystemCommandEntry entry;
    entry.keyName = keyName;
    entry.displayName = SystemCommandDisplayName(keyName);
    entry.pathRead = ReadAppPathsTarget(holder, keyName, entry.path);
    return entry;
}

bool DeleteAppPathsKey(const std::string& keyName)
{
    return CRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName));
}
