#pragma once
// Reads a shell link back through the real ShellLink object.
#include <string>

struct LinkFields {
    std::string path;
    std::string arguments;
    std::string workingDirectory;
    std::string description;
    int showCommand = -1;
};

bool ReadLink(const std::string& linkPath, LinkFields& fields);
