#include "app/CommandLine.h"

StartMode ClassifyCommandLine(const std::string& commandLine)
{
    if (commandLine.find(':') != std::string::npos)
        return StartMode::path;
    if (commandLine == "-ffsettings")
        return StartMode::fastFolders;
    return StartMode::normal;
}
