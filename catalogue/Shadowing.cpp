#include "catalogue/Shadowing.h"

#include "catalogue/ShadowRules.h"

#include <windows.h>

#include <vector>

namespace {

std::string Environment(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return {};
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

std::string SystemFolder(UINT (WINAPI* get)(LPSTR, UINT))
{
    char folder[MAX_PATH] = {};
    const UINT length = get(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

} // namespace

std::string FindShadowingFile(const std::string& name)
{
    std::vector<std::string> folders;
    for (const std::string& folder : {SystemFolder(GetWindowsDirectoryA), SystemFolder(GetSystemDirectoryA)})
        if (!folder.empty())
            folders.push_back(folder);
    for (const std::string& folder : SplitSearchPath(Environment("PATH")))
        folders.push_back(folder);
    for (const std::string& candidate : ShadowCandidates(name, folders, SplitExtensions(Environment("PATHEXT")))) {
        const DWORD attributes = GetFileAttributesA(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return candidate;
    }
    return {};
}
