#pragma once
// Switching the Fast Folders shell extension on and off: the library is
// registered by regsvr32 runs that are started and not waited for.
#include <string>
#include <vector>

// The extension's handler key exists under Directory\Background.
bool IsShellExtensionRegistered();

struct ProcessStart {
    std::string program;    // full path of regsvr32.exe
    std::string parameters;
};

// The runs, in order: the library beside the program by its long and its
// short (8.3) name; then, when an x86 copy is present, the same two for it
// with the 32-bit regsvr32. Platform-free.
std::vector<ProcessStart> ShellExtensionRuns(const std::string& programFolder, bool enable,
                                             const std::string& systemFolder,
                                             const std::string& wow64SystemFolder, bool x86CopyPresent);

// Starts the runs for the program folder; their results are not examined.
void SetShellExtensionRegistered(const std::string& programFolder, bool enable);
