#pragma once
// Reads a shell link back through the real ShellLink object.
#include <string>

struct LinkFields {
    std::wstring path;
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring description;
    int showCommand = -1;
};

bool ReadLink(const std::wstring& linkPath, LinkFields& fields);
