#include "app/CommandLine.h"

StartMode ClassifyCommandLine(const std::string& commandLine)
{
    if (commandLine.find(':') != std::string::npos)
        return StartMode::path;
    if (commandLine == kFastFoldersOption)
        return StartMode::fastFolders;
    if (commandLine == kSystemCommandsOption)
        return StartMode::system;
    return StartMode::normal;
}
