#pragma once
// Switching the Fast Folders shell extension on and off: the library is
// registered by regsvr32 runs that are started and not waited for.
#include <string>
#include <vector>

// Machine: for everyone (HKEY_CLASSES_ROOT). User: for the current user
// alone (HKCU\Software\Classes), which needs no administrator rights.
enum class ExtensionScope { machine, user };

// The extension's handler key exists under Directory\Background.
bool IsShellExtensionRegistered(ExtensionScope scope = ExtensionScope::machine);

struct ProcessStart {
    std::wstring program;    // full path of regsvr32.exe
    std::wstring parameters;
};

// The runs, in order: the library beside the program by its long and its
// short (8.3) name; then, when an x86 copy is present, the same two for it
// with the 32-bit regsvr32. User runs ask the library's DllInstall (/n /i:user).
// Platform-free.
std::vector<ProcessStart> ShellExtensionRuns(const std::wstring& programFolder, bool enable,
                                             const std::wstring& systemFolder,
                                             const std::wstring& wow64SystemFolder, bool x86CopyPresent,
                                             ExtensionScope scope = ExtensionScope::machine);

// Starts the runs for the program folder; their results are not examined.
void SetShellExtensionRegistered(const std::wstring& programFolder, bool enable,
                                 ExtensionScope scope = ExtensionScope::machine);
