#include "apppaths/OtherProgramEntry.h"

#include "apppaths/AppPathsRoot.h"
#include "apppaths/EntryRules.h"
#include "framework/RegistryAnsi.h"

OtherProgramEntry ReadOtherProgramEntry(const std::string& name, CommandScope scope, const std::string& ownLinkPath)
{
    OtherProgramEntry entry;
    CRegistryKey key;
    if (!key.Open(AppPathsRoot(scope), AnsiToWide(AppPathsKeyName(name)), KEY_QUERY_VALUE))
        return entry;
    std::string value;
    ReadAnsiString(key, kRegistryTextWhole, "", value);
    entry.target = StripTargetQuotes(value);
    entry.exists = !IsOwnEntryValue(entry.target, ownLinkPath);
    return entry;
}
