#include "catalogue/CommandPaths.h"

#include "framework/AppInfo.h"
#include "framework/Handles.h"
#include "framework/Services.h"

#include <windows.h>
#include <shlobj.h>

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

namespace {

// A shell folder of the current user; empty when the shell has none.
std::string UserShellFolder(int csidl)
{
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    folder[MAX_PATH - 1] = '\0';
    return folder;
}

} // namespace

std::string UserDataFolder()
{
    if (const std::string& pretended = Services().userDataFolder; !pretended.empty())
        return pretended;
    const std::string appData = UserShellFolder(CSIDL_APPDATA);
    return appData.empty() ? std::string() : appData + "\\Verbosa";
}

std::string LocalDataFolder()
{
    if (const std::string& pretended = Services().localDataFolder; !pretended.empty())
        return pretended;
    const std::string localAppData = UserShellFolder(CSIDL_LOCAL_APPDATA);
    return localAppData.empty() ? std::string() : localAppData + "\\Verbosa";
}

std::string MachineDataFolder()
{
    if (const std::string& pretended = Services().machineDataFolder; !pretended.empty())
        return pretended;
    const std::string programData = UserShellFolder(CSIDL_COMMON_APPDATA);
    return programData.empty() ? std::string() : programData + "\\Verbosa";
}

std::string ProfilesFolder()
{
    if (const std::string& pretended = Services().profilesFolder; !pretended.empty())
        return pretended;
    return GetParentFolder(UserShellFolder(CSIDL_PROFILE));
}

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
