#pragma once
// A command's two files in a Cmds folder, spelled out as stored files name
// them rather than taken from the program's own path code.
#include <string>
#include <vector>

inline std::string CommandLinkFile(const std::string& cmds, const std::string& name)
{
    return cmds + "\\run_" + name + ".lnk";
}

inline std::string CommandPropertiesFile(const std::string& cmds, const std::string& name)
{
    return cmds + "\\run_" + name + ".cfg";
}

// A properties file's bytes: each line ended by CR LF.
inline std::string PropertiesBytes(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    return bytes;
}
