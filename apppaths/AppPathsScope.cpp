#include "apppaths/AppPathsScope.h"

#include "resources/Texts.h"

std::string AppPathsKeyName(const std::string& name)
{
    return std::string(kAppPathsKey) + "\\" + name + ".exe";
}

const char* ScopeText(CommandScope scope)
{
    return scope == CommandScope::user ? TXT_SCOPE_USER : TXT_SCOPE_MACHINE;
}

std::string NeedsAdministratorText(const char* action)
{
    return std::string(TXT_NEEDS_ADMIN_BEFORE) + action + TXT_NEEDS_ADMIN_AFTER;
}
