#include "catalogue/CommandPaths.h"

std::string CmdsFolder(CommandScope scope)
{
    return (scope == CommandScope::user ? UserDataFolder() : GetProgramFolder()) + "\\Cmds";
}

std::string CommandLinkPath(const std::string& name, CommandScope scope)
{
    return CmdsFolder(scope) + "\\run_" + name + ".lnk";
}

std::string CommandPropertiesPath(const std::string& name, CommandScope scope)
{
    return CmdsFolder(scope) + "\\run_" + name + ".cfg";
}
