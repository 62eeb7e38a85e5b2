#include "apppaths/EntryRules.h"

std::string StripTargetQuotes(const std::string& path)
{
    std::string stripped = path;
    if (!stripped.empty() && stripped.back() == '"')
        stripped.pop_back();
    if (!stripped.empty() && stripped.front() == '"')
        stripped.erase(0, 1);
    return stripped;
}
