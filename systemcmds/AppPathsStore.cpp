#include "systemcmds/AppPathsStore.h"

#include "apppaths/AppPathsRoot.h"
#include "catalogue/CommandPaths.h"
#include "framework/RegistryAnsi.h"
#include "systemcmds/SystemCommandRules.h"

std::string AppPathsEntryKey(const std::string& keyName)
{
    return std::string(kAppPathsKey) + "\\" + keyName;
}

bool CAppPathsWalk::Open(CommandScope scope)
{
    return m_key.Open(AppPathsRoot(scope), AnsiToWide(kAppPathsKey), KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
}

DWORD CAppPathsWalk::Count()
{
    return m_key.SubkeyCount();
}

CAppPathsWalk::Step CAppPathsWalk::NameAt(DWORD index, std::string& name)
{
    if (!m_key.IsOpen())
        return Step::end;
    if (std::wstring wide; m_key.EnumSubkey(index, wide)) {
        name = WideToAnsi(wide.c_str(), wide.size());
        return Step::name;
    }
    if (m_key.LastError() == ERROR_MORE_DATA)
        return Step::skipped;
    m_key.Close();
    return Step::end;
}

namespace {

bool ReadTarget(CRegistryKey& holder, HKEY parent, const std::string& subkey, std::string& path)
{
    if (!holder.Open(parent, AnsiToWide(subkey), KEY_QUERY_VALUE))
        return false;
    std::string value;
    const bool read = ReadAnsiString(holder, kRegistryTextMax, "", value);
    holder.Close();
    if (!read)
        return false;
    path = StripTargetQuotes(value);
    return true;
}

SystemCommandEntry ReadEntryAt(CRegistryKey& holder, HKEY parent, const std::string& subkey, const std::string& keyName)
{
    SystemCommandEntry entry;
    entry.keyName = keyName;
    entry.displayName = SystemCommandDisplayName(keyName);
    entry.pathRead = ReadTarget(holder, parent, subkey, entry.path);
    return entry;
}

} // namespace

bool ReadAppPathsTarget(CRegistryKey& holder, const std::string& keyName, std::string& path)
{
    return ReadTarget(holder, HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName), path);
}

SystemCommandEntry ReadSystemCommandEntry(CRegistryKey& holder, const std::string& keyName)
{
    return ReadEntryAt(holder, HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName), keyName);
}

SystemCommandEntry CAppPathsWalk::ReadEntry(CRegistryKey& holder, const std::string& keyName)
{
    // Below the open key: the registry need not walk the whole path again.
    return ReadEntryAt(holder, m_key.Handle(), keyName, keyName);
}

bool DeleteAppPathsKey(const std::string& keyName, CommandScope scope)
{
    return CRegistryKey::DeleteKey(AppPathsRoot(scope), AnsiToWide(AppPathsEntryKey(keyName)));
}
