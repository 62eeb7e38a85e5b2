#include "shellsettings/ExtensionRegistration.h"

#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <windows.h>
#include <shellapi.h>

namespace {

std::wstring SystemFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// The 32-bit system folder of 64-bit Windows; empty on 32-bit Windows.
std::wstring Wow64SystemFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT n = GetSystemWow64DirectoryW(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

void AddPair(std::vector<ProcessStart>& runs, const std::wstring& regsvr32, const std::wstring& prefix,
             const std::wstring& folder)
{
    runs.push_back({regsvr32, prefix + L"\"" + folder + L"\\Tesselator.dll\""});
    runs.push_back({regsvr32, prefix + L"\"" + folder + L"\\Tessel~1.dll\""});
}

} // namespace

bool IsShellExtensionRegistered(ExtensionScope scope)
{
    constexpr wchar_t kHandlerKey[] = L"Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator";
    CRegistryKey key;
    if (scope == ExtensionScope::user)
        return key.Open(HKEY_CURRENT_USER, std::wstring(L"Software\\Classes\\") + kHandlerKey, KEY_READ);
    return key.Open(HKEY_CLASSES_ROOT, kHandlerKey, KEY_READ);
}

std::vector<ProcessStart> ShellExtensionRuns(const std::wstring& programFolder, bool enable,
                                             const std::wstring& systemFolder,
                                             const std::wstring& wow64SystemFolder, bool x86CopyPresent,
                                             ExtensionScope scope)
{
    const std::wstring prefix =
        std::wstring(enable ? L"" : L"/u ") + (scope == ExtensionScope::user ? L"/n /i:user " : L"") + L"/s ";
    std::vector<ProcessStart> runs;
    // By full path: a bare name could find a planted regsvr32.exe first.
    AddPair(runs, systemFolder + L"\\regsvr32.exe", prefix, programFolder);
    if (x86CopyPresent && !wow64SystemFolder.empty())
        AddPair(runs, wow64SystemFolder + L"\\regsvr32.exe", prefix, programFolder + L"\\x86");
    return runs;
}

void SetShellExtensionRegistered(const std::wstring& programFolder, bool enable, ExtensionScope scope)
{
    const bool x86Copy =
        GetFileAttributesW((programFolder + L"\\x86\\Tesselator.dll").c_str()) != INVALID_FILE_ATTRIBUTES;
    for (const ProcessStart& run :
         ShellExtensionRuns(programFolder, enable, SystemFolder(), Wow64SystemFolder(), x86Copy, scope)) {
        if (const auto start = Services().startProcess)
            start(run);
        else
            ShellExecuteW(nullptr, L"open", run.program.c_str(), run.parameters.c_str(), nullptr, SW_SHOWNORMAL);
    }
}
