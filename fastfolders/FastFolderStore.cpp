#include "fastfolders/FastFolderStore.h"

#include "framework/RegistryKey.h"
#include "framework/Utf16.h"

std::wstring FastFolderKey()
{
    return AsciiToWide(contract::kFastFolderKey);
}

namespace {

FastFolderSlot ReadSlot(CRegistryKey& key, int index)
{
    const std::wstring aliasName = FastFolderAliasName<std::wstring>(index);
    const std::wstring pathName = FastFolderPathName(aliasName);
    std::wstring text;
    FastFolderSlot slot;
    slot.alias = key.HasValue(aliasName);
    slot.aliasReadable = slot.alias && key.ReadString(aliasName, kRegistryTextMax, text);
    slot.path = key.HasValue(pathName);
    slot.pathReadable = slot.path && key.ReadString(pathName, kRegistryTextMax, text);
    return slot;
}

FastFolderSlots ReadSlots(CRegistryKey& key)
{
    FastFolderSlots slots;
    for (int i = 0; i < kMaxFastFolders; ++i)
        slots[static_cast<size_t>(i)] = ReadSlot(key, i);
    return slots;
}

// Both values or neither: a path that cannot be written takes the alias back.
bool WriteItem(CRegistryKey& key, int index, const std::wstring& alias, const std::wstring& path)
{
    const std::wstring aliasName = FastFolderAliasName<std::wstring>(index);
    if (!key.WriteString(aliasName, alias))
        return false;
    if (key.WriteString(FastFolderPathName(aliasName), path))
        return true;
    key.DeleteValue(aliasName);
    return false;
}

// Copies every value of one index to another, whole and with its type; the
// source is deleted only once every copy is written.
bool MoveItem(CRegistryKey& key, int from, int to)
{
    const std::wstring fromAlias = FastFolderAliasName<std::wstring>(from);
    const std::wstring toAlias = FastFolderAliasName<std::wstring>(to);
    const std::pair<std::wstring, std::wstring> names[] = {{fromAlias, toAlias},
                                                         {FastFolderPathName(fromAlias), FastFolderPathName(toAlias)}};
    for (const auto& [source, target] : names) {
        DWORD type = 0;
        std::string bytes;
        if (key.HasValue(source) &&
            (!key.ReadValue(source, type, bytes) || !key.WriteValue(target, type, bytes)))
            return false;
    }
    for (const auto& [source, target] : names)
        key.DeleteValue(source);
    return true;
}

bool OpenForWrite(CRegistryKey& key)
{
    return key.Open(HKEY_CURRENT_USER, FastFolderKey(), KEY_READ | KEY_WRITE);
}

} // namespace

FastFolderSlots ReadFastFolderSlots()
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, FastFolderKey(), KEY_READ))
        return {};
    return ReadSlots(key);
}

int CountFastFolders()
{
    return ReadableFastFolders(ReadFastFolderSlots());
}

int ReadFastFolders(int count, std::wstring aliases[], std::wstring paths[])
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, FastFolderKey(), KEY_READ))
        return 0;
    int read = 0;
    for (; read < count && read < kMaxFastFolders; ++read) {
        const std::wstring name = FastFolderAliasName<std::wstring>(read);
        std::wstring alias, path;
        if (!key.ReadString(name, kRegistryTextMax, alias) ||
            !key.ReadString(FastFolderPathName(name), kRegistryTextMax, path))
            break; // the menu stops here too
        aliases[read] = alias;
        paths[read] = path;
    }
    return read;
}

FastFolderWrite AddFastFolder(const std::wstring& alias, const std::wstring& path, int& blockedIndex)
{
    CRegistryKey key;
    if (!OpenForWrite(key))
        return FastFolderWrite::failed;
    const FastFolderAddPlan plan = PlanFastFolderAdd(ReadSlots(key));
    switch (plan.kind) {
    case FastFolderAddPlan::Kind::full: return FastFolderWrite::full;
    case FastFolderAddPlan::Kind::blocked: blockedIndex = plan.index; return FastFolderWrite::blocked;
    case FastFolderAddPlan::Kind::write: break;
    }
    return WriteItem(key, plan.index, alias, path) ? FastFolderWrite::done : FastFolderWrite::failed;
}

FastFolderWrite ReplaceFastFolder(int index, const std::wstring& alias, const std::wstring& path, int& blockedIndex)
{
    CRegistryKey key;
    if (!OpenForWrite(key))
        return FastFolderWrite::failed;
    const FastFolderAddPlan plan = PlanFastFolderAdd(ReadSlots(key));
    if (plan.kind == FastFolderAddPlan::Kind::blocked) {
        blockedIndex = plan.index;
        return FastFolderWrite::blocked;
    }
    if (plan.kind == FastFolderAddPlan::Kind::write) {
        if (!WriteItem(key, plan.index, alias, path))
            return FastFolderWrite::failed;
        key.Close();
        RemoveFastFolderItem(index);
        return FastFolderWrite::done;
    }
    // No free index to stage the new item in: rewrite this one in place.
    const std::wstring aliasName = FastFolderAliasName<std::wstring>(index);
    DWORD type = 0;
    std::string oldAlias;
    if (!key.ReadValue(aliasName, type, oldAlias) || !key.WriteString(aliasName, alias))
        return FastFolderWrite::failed;
    if (key.WriteString(FastFolderPathName(aliasName), path))
        return FastFolderWrite::done;
    key.WriteValue(aliasName, type, oldAlias);
    return FastFolderWrite::failed;
}

bool DeleteFastFolder(const std::wstring& index)
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, FastFolderKey(), KEY_WRITE))
        return false;
    if (!key.DeleteValue(index))
        return false;
    key.DeleteValue(FastFolderPathName(index));
    return true;
}

bool RemoveFastFolderItem(int index)
{
    bool removed = true;
    {
        CRegistryKey key;
        if (!OpenForWrite(key))
            return false;
        const std::wstring aliasName = FastFolderAliasName<std::wstring>(index);
        for (const std::wstring& name : {aliasName, FastFolderPathName(aliasName)})
            if (key.HasValue(name) && !key.DeleteValue(name))
                removed = false;
    }
    CompactFastFolders();
    return removed;
}

void CompactFastFolders()
{
    CRegistryKey key;
    if (!OpenForWrite(key))
        return;
    for (const auto& [from, to] : FastFolderCompaction(ReadSlots(key)))
        if (!MoveItem(key, from, to))
            return;
}
