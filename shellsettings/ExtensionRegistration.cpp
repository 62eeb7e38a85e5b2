#include "shellsettings/ExtensionRegistration.h"

#include "catalogue/CommandPaths.h"
#include "framework/RegistryAnsi.h"
#include "framework/Services.h"

#include <windows.h>
#include <shellapi.h>

namespace {

std::string SystemFolder()
{
    char buffer[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

// The 32-bit system folder of 64-bit Windows; empty on 32-bit Windows.
std::string Wow64SystemFolder()
{
    char buffer[MAX_PATH] = {};
    const UINT n = GetSystemWow64DirectoryA(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

void AddPair(std::vector<ProcessStart>& runs, const std::string& regsvr32, const std::string& prefix,
             const std::string& folder)
{
    runs.push_back({regsvr32, prefix + "\"" + folder + "\\Tesselator.dll\""});
    runs.push_back({regsvr32, prefix + "\"" + folder + "\\Tessel~1.dll\""});
}

} // namespace

bool IsShellExtensionRegistered(ExtensionScope scope)
{
    constexpr char kHandlerKey[] = "Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator";
    CRegistryKey key;
    if (scope == ExtensionScope::user)
        return key.Open(HKEY_CURRENT_USER, AnsiToWide(std::string("Software\\Classes\\") + kHandlerKey), KEY_READ);
    return key.Open(HKEY_CLASSES_ROOT, AnsiToWide(kHandlerKey), KEY_READ);
}

std::vector<ProcessStart> ShellExtensionRuns(const std::string& programFolder, bool enable,
                                             const std::string& systemFolder,
                                             const std::string& wow64SystemFolder, bool x86CopyPresent,
                                             ExtensionScope scope)
{
    const std::string prefix =
        std::string(enable ? "" : "/u ") + (scope == ExtensionScope::user ? "/n /i:user " : "") + "/s ";
    std::vector<ProcessStart> runs;
    // By full path: a bare name could find a planted regsvr32.exe first.
    AddPair(runs, systemFolder + "\\regsvr32.exe", prefix, programFolder);
    if (x86CopyPresent && !wow64SystemFolder.empty())
        AddPair(runs, wow64SystemFolder + "\\regsvr32.exe", prefix, programFolder + "\\x86");
    return runs;
}

void SetShellExtensionRegistered(const std::string& programFolder, bool enable, ExtensionScope scope)
{
    const bool x86Copy =
        GetFileAttributesA((programFolder + "\\x86\\Tesselator.dll").c_str()) != INVALID_FILE_ATTRIBUTES;
    for (const ProcessStart& run :
         ShellExtensionRuns(programFolder, enable, SystemFolder(), Wow64SystemFolder(), x86Copy, scope)) {
        if (const auto start = Services().startProcess)
            start(run);
        else
            ShellExecuteA(nullptr, "open", run.program.c_str(), run.parameters.c_str(), nullptr, SW_SHOWNORMAL);
    }
}
