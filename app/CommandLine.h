#pragma once
// How the program was asked to start, decided on the whole command line
// byte for byte: nothing is split, unquoted or folded to one case.
#include <string>

enum class StartMode {
    path,        // a ':' anywhere: the New Command dialog for that path
    fastFolders, // exactly "-ffsettings": the Fast Folders page in front
    system,      // exactly "-systemcommands": the System Commands page in front
    normal,      // anything else, empty included: My Commands in front
};

StartMode ClassifyCommandLine(const std::string& commandLine);

// The option that brings that page back in front (a restart as
// administrator); empty for My Commands.
inline constexpr const char* kFastFoldersOption = "-ffsettings";
inline constexpr const char* kSystemCommandsOption = "-systemcommands";
