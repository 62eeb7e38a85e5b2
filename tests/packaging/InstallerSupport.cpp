#include "tests/packaging/InstallerSupport.h"

#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include <shlobj.h>

#include <cstdlib>

std::wstring PackagePath(const wchar_t* variable)
{
    const wchar_t* path = _wgetenv(variable);
    return path ? path : L"";
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

DWORD RunAndWait(const std::wstring& commandLine, HANDLE* keep)
{
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0xFFFFFFFF;
    CloseHandle(pi.hThread);
    if (keep) {
        *keep = pi.hProcess;
        return 0;
    }
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    return code;
}

bool WaitUntilGone(const std::wstring& path, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 200) {
        if (!FileExists(path))
            return true;
        Sleep(200);
    }
    return false;
}

std::wstring DefaultValue(const std::wstring& key)
{
    const std::wstring value = ReadStringValue(HKEY_LOCAL_MACHINE, key);
    return value == L"<missing>" ? L"" : value;
}

void WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value)
{
    WriteStringValue(root, key, name, value);
}
