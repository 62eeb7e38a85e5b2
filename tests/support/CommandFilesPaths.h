#pragma once
// A command's two files in a Cmds folder, spelled out as stored files name
// them rather than taken from the program's own path code.
#include <string>
#include <vector>

inline std::wstring CommandLinkFile(const std::wstring& cmds, const std::wstring& name)
{
    return cmds + L"\\run_" + name + L".lnk";
}

inline std::wstring CommandPropertiesFile(const std::wstring& cmds, const std::wstring& name)
{
    return cmds + L"\\run_" + name + L".cfg";
}

// A properties file's bytes: each line, given as its bytes (code page or
// UTF-8), ended by CR LF.
inline std::string PropertiesBytes(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    return bytes;
}
