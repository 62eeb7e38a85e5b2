#include "fastfolders/FastFolderStore.h"

#include "framework/RegistryAnsi.h"

namespace {

FastFolderSlot ReadSlot(CRegistryKey& key, int index)
{
    const std::string aliasName = FastFolderAliasName(index);
    const std::string pathName = FastFolderPathName(aliasName);
    std::string text;
    FastFolderSlot slot;
    slot.alias = key.HasValue(AnsiToWide(aliasName));
    slot.aliasReadable = slot.alias && ReadAnsiString(key, kRegistryTextMax, aliasName, text);
    slot.path = key.HasValue(AnsiToWide(pathName));
    slot.pathReadable = slot.path && ReadAnsiString(key, kRegistryTextMax, pathName, text);
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
bool WriteItem(CRegistryKey& key, int index, const std::string& alias, const std::string& path)
{
    const std::string aliasName = FastFolderAliasName(index);
    if (!WriteAnsiString(key, aliasName, alias))
        return false;
    if (WriteAnsiString(key, FastFolderPathName(aliasName), path))
        return true;
    key.DeleteValue(AnsiToWide(aliasName));
    return false;
}

// Copies every value of one index to another, whole and with its type; the
// source is deleted only once every copy is written.
bool MoveItem(CRegistryKey& key, int from, int to)
{
    const std::string fromAlias = FastFolderAliasName(from);
    const std::string toAlias = FastFolderAliasName(to);
    const std::pair<std::string, std::string> names[] = {{fromAlias, toAlias},
                                                         {FastFolderPathName(fromAlias), FastFolderPathName(toAlias)}};
    for (const auto& [source, target] : names) {
        DWORD type = 0;
        std::string bytes;
        if (key.HasValue(AnsiToWide(source)) &&
            (!key.ReadValue(AnsiToWide(source), type, bytes) || !key.WriteValue(AnsiToWide(target), type, bytes)))
            return false;
    }
    for (const auto& [source, target] : names)
        key.DeleteValue(AnsiToWide(source));
    return true;
}

bool OpenForWrite(CRegistryKey& key)
{
    return key.Open(HKEY_CURRENT_USER, AnsiToWide(kFastFolderKey), KEY_READ | KEY_WRITE);
}

} // namespace

FastFolderSlots ReadFastFolderSlots()
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, AnsiToWide(kFastFolderKey), KEY_READ))
        return {};
    return ReadSlots(key);
}

int CountFastFolders()
{
    return ReadableFastFolders(ReadFastFolderSlots());
}

int ReadFastFolders(int count, std::string aliases[], std::string paths[])
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, AnsiToWide(kFastFolderKey), KEY_READ))
        return 0;
    int read = 0;
    for (; read < count && read < kMaxFastFolders; ++read) {
        const std::string name = FastFolderAliasName(read);
        std::string alias, path;
        if (!ReadAnsiString(key, kRegistryTextMax, name, alias) ||
            !ReadAnsiString(key, kRegistryTextMax, FastFolderPathName(name), path))
            break; // the menu stops here too
        aliases[read] = alias;
        paths[read] = path;
    }
    return read;
}

FastFolderWrite AddFastFolder(const std::string& alias, const std::string& path, int& blockedIndex)
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

FastFolderWrite ReplaceFastFolder(int index, const std::string& alias, const std::string& path, int& blockedIndex)
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
    const std::string aliasName = FastFolderAliasName(index);
    DWORD type = 0;
    std::string oldAlias;
    if (!key.ReadValue(AnsiToWide(aliasName), type, oldAlias) || !WriteAnsiString(key, aliasName, alias))
        return FastFolderWrite::failed;
    if (WriteAnsiString(key, FastFolderPathName(aliasName), path))
        return FastFolderWrite::done;
    key.WriteValue(AnsiToWide(aliasName), type, oldAlias);
    return FastFolderWrite::failed;
}

bool DeleteFastFolder(const std::string& index)
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, AnsiToWide(kFastFolderKey), KEY_WRITE))
        return false;
    if (!key.DeleteValue(AnsiToWide(index)))
        return false;
    key.DeleteValue(AnsiToWide(FastFolderPathName(index)));
    return true;
}

bool RemoveFastFolderItem(int index)
{
    bool removed = true;
    {
        CRegistryKey key;
        if (!OpenForWrite(key))
            return false;
        const std::string aliasName = FastFolderAliasName(index);
        for (const std::string& name : {aliasName, FastFolderPathName(aliasName)})
            if (key.HasValue(AnsiToWide(name)) && !key.DeleteValue(AnsiToWide(name)))
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
