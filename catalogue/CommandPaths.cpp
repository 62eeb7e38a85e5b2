#include "catalogue/CommandPaths.h"

std::wstring CmdsFolder(CommandScope scope)
{
    return (scope == CommandScope::user ? UserDataFolder() : GetProgramFolder()) + L"\\Cmds";
}

std::wstring CommandLinkPath(const std::wstring& name, CommandScope scope)
{
    return CmdsFolder(scope) + L"\\run_" + name + L".lnk";
}

std::wstring CommandPropertiesPath(const std::wstring& name, CommandScope scope)
{
    return CmdsFolder(scope) + L"\\run_" + name + L".cfg";
}
