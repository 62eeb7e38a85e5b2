#include "catalogue/CommandPaths.h"

#include "framework/AppInfo.h"
#include "framework/Handles.h"
#include "framework/Services.h"

#include <windows.h>

std::string GetProgramFolder()
{
    const std::string& pretended = Services().programPath;
    return GetParentFolder(pretended.empty() ? GetModulePath() : pretended);
}

bool IsExistingFolder(const std::string& path)
{
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string AppPathsKeyName(const std::string& name)
{
    return std::string(kAppPathsKey) + "\\" + name + ".exe";
}

std::string CmdsFolder()
{
    return GetProgramFolder() + "\\Cmds";
}

std::string CommandLinkPath(const std::string& name)
{
    return CmdsFolder() + "\\run_" + name + ".lnk";
}

std::string CommandPropertiesPath(const std::string& name)
{
    return CmdsFolder() + "\\run_" + name + ".cfg";
}
