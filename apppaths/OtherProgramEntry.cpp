#include "apppaths/OtherProgramEntry.h"

#include "apppaths/AppPathsRoot.h"
#include "apppaths/EntryRules.h"
#include "framework/RegistryKey.h"

OtherProgramEntry ReadOtherProgramEntry(const std::wstring& name, CommandScope scope, const std::wstring& ownLinkPath)
{
    OtherProgramEntry entry;
    CRegistryKey key;
    if (!key.Open(AppPathsRoot(scope), AppPathsKeyName(name), KEY_QUERY_VALUE))
        return entry;
    std::wstring value;
    key.ReadString(L"", kRegistryTextWhole, value);
    entry.target = StripTargetQuotes(value);
    entry.exists = !IsOwnEntryValue(entry.target, ownLinkPath);
    return entry;
}
