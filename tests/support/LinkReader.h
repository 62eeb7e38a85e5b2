#pragma once
// Reads a shell link back through the real ShellLink object.
#include <string>

struct LinkFields {
    std::wstring path;
    // The path the link's item list names. Wine keeps the path above only in
    // the code page; the item list holds the names whole.
    std::wstring itemPath;
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring description;
    int showCommand = -1;
};

bool ReadLink(const std::wstring& linkPath, LinkFields& fields);
