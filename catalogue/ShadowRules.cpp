#include "catalogue/ShadowRules.h"

#include <algorithm>
#include <string_view>

namespace {

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(';', start), text.size());
        std::string part = text.substr(start, end - start);
        const size_t first = part.find_first_not_of(" \t\"");
        const size_t last = part.find_last_not_of(" \t\"");
        part = first == std::string::npos ? std::string() : part.substr(first, last - first + 1);
        if (!part.empty())
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

} // namespace

std::vector<std::string> SplitSearchPath(const std::string& path)
{
    // "C:\Tools \" names C:\Tools: what a trailing separator hid is trimmed
    // too, but a drive's root keeps its backslash.
    const auto isDriveRoot = [](const std::string& folder) {
        return folder.size() == 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
    };
    std::vector<std::string> folders;
    for (std::string folder : Split(path)) {
        while (!folder.empty() && !isDriveRoot(folder) &&
               std::string_view("\\/ \t\"").find(folder.back()) != std::string_view::npos)
            folder.pop_back();
        if (!folder.empty())
            folders.push_back(folder);
    }
    return folders;
}

std::vector<std::string> SplitExtensions(const std::string& pathext)
{
    std::vector<std::string> extensions = Split(pathext);
    if (extensions.empty())
        extensions = Split(".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC");
    return extensions;
}

std::vector<std::string> ShadowCandidates(const std::string& name, const std::vector<std::string>& folders,
                                          const std::vector<std::string>& extensions)
{
    std::vector<std::string> candidates;
    for (const std::string& folder : folders) {
        const std::string prefix = folder.back() == '\\' ? folder : folder + "\\";
        for (const std::string& extension : extensions)
            candidates.push_back(prefix + name + extension);
    }
    return candidates;
}
