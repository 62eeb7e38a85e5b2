#include "tests/packaging/InstallerSupport.h"

#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include <shlobj.h>

#include <cstdlib>

std::string PackagePath(const char* variable)
{
    const char* path = std::getenv(variable);
    return path ? path : "";
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

DWORD RunAndWait(const std::string& commandLine, HANDLE* keep)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
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

bool WaitUntilGone(const std::string& path, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 200) {
        if (!FileExists(path))
            return true;
        Sleep(200);
    }
    return false;
}

std::string DefaultValue(const std::string& key)
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadRawValue(HKEY_LOCAL_MACHINE, key, "", type, bytes))
        return "";
    return std::string(bytes.c_str());
}

void WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    WriteRawValue(root, key, name, REG_SZ, value + '\0');
}
