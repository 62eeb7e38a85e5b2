#include "framework/ProgramFolders.h"

#include "framework/AppInfo.h"
#include "framework/Handles.h"
#include "framework/PathText.h"
#include "framework/Services.h"

#include <windows.h>
#include <shlobj.h>

std::wstring GetProgramFolder()
{
    const std::wstring& pretended = Services().programPath;
    return GetParentFolder(pretended.empty() ? GetModulePath() : pretended);
}

bool IsExistingFolder(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    CFindHandle find(FindFirstFileW(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {

// A shell folder of the current user; empty when the shell has none.
std::wstring UserShellFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    folder[MAX_PATH - 1] = L'\0';
    return folder;
}

// The program's folder in a shell folder, or the stand-in tests set.
std::wstring VerbosaFolderIn(const std::wstring& pretended, int csidl)
{
    if (!pretended.empty())
        return pretended;
    const std::wstring shellFolder = UserShellFolder(csidl);
    return shellFolder.empty() ? std::wstring() : shellFolder + L"\\Verbosa";
}

} // namespace

std::wstring UserDataFolder()
{
    return VerbosaFolderIn(Services().userDataFolder, CSIDL_APPDATA);
}

std::wstring LocalDataFolder()
{
    return VerbosaFolderIn(Services().localDataFolder, CSIDL_LOCAL_APPDATA);
}

std::wstring MachineDataFolder()
{
    return VerbosaFolderIn(Services().machineDataFolder, CSIDL_COMMON_APPDATA);
}

std::wstring ProfilesFolder()
{
    if (const std::wstring& pretended = Services().profilesFolder; !pretended.empty())
        return pretended;
    return GetParentFolder(UserShellFolder(CSIDL_PROFILE));
}

