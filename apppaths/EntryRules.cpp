#include "apppaths/EntryRules.h"

#include "framework/AsciiCase.h"

std::string StripTargetQuotes(const std::string& path)
{
    std::string stripped = path;
    if (!stripped.empty() && stripped.back() == '"')
        stripped.pop_back();
    if (!stripped.empty() && stripped.front() == '"')
        stripped.erase(0, 1);
    return stripped;
}

bool IsOwnEntryValue(const std::string& value, const std::string& linkPath)
{
    return EqualIgnoringAsciiCase(value, linkPath);
}
