#include "catalogue/Shadowing.h"

#include "catalogue/ShadowRules.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring Environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

std::wstring SystemFolder(UINT (WINAPI* get)(LPWSTR, UINT))
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = get(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

} // namespace

std::wstring FindShadowingFile(const std::wstring& name)
{
    std::vector<std::wstring> folders;
    for (const std::wstring& folder : {SystemFolder(GetWindowsDirectoryW), SystemFolder(GetSystemDirectoryW)})
        if (!folder.empty())
            folders.push_back(folder);
    for (const std::wstring& folder : SplitSearchPath(Environment(L"PATH")))
        folders.push_back(folder);
    for (const std::wstring& candidate : ShadowCandidates(name, folders, SplitExtensions(Environment(L"PATHEXT")))) {
        const DWORD attributes = GetFileAttributesW(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return candidate;
    }
    return {};
}
