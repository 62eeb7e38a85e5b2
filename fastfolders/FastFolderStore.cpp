#include "fastfolders/FastFolderStore.h"

#include "framework/RegistryKey.h"

#include <cstdio>

namespace {

using Reader = bool (CRegistryKey::*)(const std::string&, std::string&);

// Both the bounded list read and the renumbering walk the same rule; only
// the way a value is read differs.
int ReadItems(Reader read, int count, std::string aliases[], std::string paths[])
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, kFastFolderKey, KEY_READ))
        return 0;
    int result = 0;
    for (int i = 0; i < count; ++i) {
        const std::string name = FastFolderAliasName(i);
        std::string alias;
        if (!(key.*read)(name, alias))
            continue;
        aliases[i] = alias;
        std::string path;
        if ((key.*read)(FastFolderPathName(name), path)) {
            paths[i] = path;
            ++result;
        }
    }
    return result;
}

} // namespace

std::string FastFolderAliasName(int index)
{
    char text[16] = {};
    std::snprintf(text, sizeof text, "%i", index);
    return text;
}

std::string FastFolderPathName(const std::string& aliasName)
{
    return aliasName + aliasName;
}

int CountFastFolders()
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, kFastFolderKey, KEY_READ))
        return 0;
    int count = 0;
    for (int i = 0; i < kMaxFastFolders; ++i) {
        std::string alias;
        if (key.GetString(FastFolderAliasName(i), alias))
            ++count;
    }
    return count;
}

int ReadFastFolders(int count, std::string aliases[], std::string paths[])
{
    return ReadItems(&CRegistryKey::GetString, count, aliases, paths);
}

bool AddFastFolder(const std::string& alias, const std::string& path)
{
    const std::string name = FastFolderAliasName(CountFastFolders());
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, kFastFolderKey, KEY_WRITE))
        return false;
    if (!key.SetString(name, alias))
        return false;
    return key.SetString(FastFolderPathName(name), path);
}

bool DeleteFastFolder(const std::string& index)
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, kFastFolderKey, KEY_WRITE))
        return false;
    if (!key.DeleteValue(index))
        return false;
    key.DeleteValue(FastFolderPathName(index));
    return true;
}

void CompactFastFolders()
{
    // Every item is deleted and written again, so read each value whole: a
    // value longer than the list's buffer (written by another tool) must not
    // come back cut or blank.
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    ReadItems(&CRegistryKey::GetStringWhole, kMaxFastFolders, aliases, paths);

    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, kFastFolderKey, KEY_WRITE))
        return;
    for (int i = 0; i < kMaxFastFolders; ++i) {
        const std::string name = FastFolderAliasName(i);
        key.DeleteValue(name);
        key.DeleteValue(FastFolderPathName(name));
    }
    int j = 0;
    for (int k = 0; k < kMaxFastFolders; ++k) {
        if (aliases[k].empty())
            continue;
        const std::string name = FastFolderAliasName(j);
        if (!key.SetString(name, aliases[k]))
            continue;
        key.SetString(FastFolderPathName(name), paths[k]);
        ++j;
    }
}
