#include "systemcmds/AppPathsStore.h"

#include "apppaths/AppPathsRoot.h"
#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"
#include "systemcmds/SystemCommandRules.h"

std::wstring AppPathsEntryKey(const std::wstring& keyName)
{
    return std::wstring(kAppPathsKey) + L"\\" + keyName;
}

bool CAppPathsWalk::Open(CommandScope scope)
{
    return m_key.Open(AppPathsRoot(scope), kAppPathsKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
}

DWORD CAppPathsWalk::Count()
{
    return m_key.SubkeyCount();
}

CAppPathsWalk::Step CAppPathsWalk::NameAt(DWORD index, std::wstring& name)
{
    if (!m_key.IsOpen())
        return Step::end;
    if (m_key.EnumSubkey(index, name))
        return Step::name;
    if (m_key.LastError() == ERROR_MORE_DATA)
        return Step::skipped;
    m_key.Close();
    return Step::end;
}

namespace {

bool ReadTarget(CRegistryKey& holder, HKEY parent, const std::wstring& subkey, std::wstring& path)
{
    if (!holder.Open(parent, subkey, KEY_QUERY_VALUE))
        return false;
    std::wstring value;
    const bool read = holder.ReadString(L"", kRegistryTextMax, value);
    holder.Close();
    if (!read)
        return false;
    path = StripTargetQuotes(value);
    return true;
}

SystemCommandEntry ReadEntryAt(CRegistryKey& holder, HKEY parent, const std::wstring& subkey, const std::wstring& keyName)
{
    SystemCommandEntry entry;
    entry.keyName = keyName;
    entry.displayName = SystemCommandDisplayName(keyName);
    entry.pathRead = ReadTarget(holder, parent, subkey, entry.path);
    return entry;
}

} // namespace

bool ReadAppPathsTarget(CRegistryKey& holder, const std::wstring& keyName, std::wstring& path)
{
    return ReadTarget(holder, HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName), path);
}

SystemCommandEntry ReadSystemCommandEntry(CRegistryKey& holder, const std::wstring& keyName)
{
    return ReadEntryAt(holder, HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName), keyName);
}

SystemCommandEntry CAppPathsWalk::ReadEntry(CRegistryKey& holder, const std::wstring& keyName)
{
    // Below the open key: the registry need not walk the whole path again.
    return ReadEntryAt(holder, m_key.Handle(), keyName, keyName);
}

bool DeleteAppPathsKey(const std::wstring& keyName, CommandScope scope)
{
    return CRegistryKey::DeleteKey(AppPathsRoot(scope), AppPathsEntryKey(keyName));
}
