#include "framework/ProgramFolders.h"

#include "framework/AppInfo.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/PathText.h"
#include "framework/Services.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>

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

namespace {

// A shell folder of the current user; empty when the shell has none.
std::string UserShellFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    folder[MAX_PATH - 1] = L'\0';
    // The program still holds paths in the ANSI code page.
    return WideToAnsi(folder, wcsnlen(folder, MAX_PATH));
}

// The program's folder in a shell folder, or the stand-in tests set.
std::string VerbosaFolderIn(const std::string& pretended, int csidl)
{
    if (!pretended.empty())
        return pretended;
    const std::string shellFolder = UserShellFolder(csidl);
    return shellFolder.empty() ? std::string() : shellFolder + "\\Verbosa";
}

} // namespace

std::string UserDataFolder()
{
    return VerbosaFolderIn(Services().userDataFolder, CSIDL_APPDATA);
}

std::string LocalDataFolder()
{
    return VerbosaFolderIn(Services().localDataFolder, CSIDL_LOCAL_APPDATA);
}

std::string MachineDataFolder()
{
    return VerbosaFolderIn(Services().machineDataFolder, CSIDL_COMMON_APPDATA);
}

std::string ProfilesFolder()
{
    if (const std::string& pretended = Services().profilesFolder; !pretended.empty())
        return pretended;
    return GetParentFolder(UserShellFolder(CSIDL_PROFILE));
}

