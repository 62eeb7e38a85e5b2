#include "apppaths/AppPathsScope.h"

#include "resources/Texts.h"

std::wstring AppPathsKeyName(const std::wstring& name)
{
    return std::wstring(kAppPathsKey) + L"\\" + name + L".exe";
}

const wchar_t* ScopeText(CommandScope scope)
{
    return scope == CommandScope::user ? TXT_SCOPE_USER : TXT_SCOPE_MACHINE;
}

std::wstring NeedsAdministratorText(const wchar_t* action)
{
    return std::wstring(TXT_NEEDS_ADMIN_BEFORE) + action + TXT_NEEDS_ADMIN_AFTER;
}
