#include "framework/PathText.h"

std::string GetParentFolder(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos || slash == 0)
        return {};
    return path.substr(0, slash);
}

std::string TrimTrailingBackslashes(std::string path)
{
    while (!path.empty() && path.back() == '\\' && path.size() != 3)
        path.pop_back();
    return path;
}
