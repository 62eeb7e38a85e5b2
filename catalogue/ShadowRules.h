#pragma once
// Which files would answer a typed command name before the Run dialog reads
// App Paths, platform-free: the system looks in the Windows folder,
// System32 and the PATH folders, trying each extension of PATHEXT.
// Templates over the string type: Win32 code passes UTF-16, fuzzers bytes.
#include <algorithm>
#include <string>
#include <vector>

namespace shadow_detail {

template <typename Char>
bool IsOneOf(Char c, const char* set)
{
    for (; *set; ++set)
        if (c == Char(*set))
            return true;
    return false;
}

// Split at ';', surrounding quotes and blanks removed, empty parts skipped.
template <typename String>
std::vector<String> Split(const String& text)
{
    using Char = typename String::value_type;
    std::vector<String> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(Char(';'), start), text.size());
        size_t first = start;
        size_t last = end;
        while (first < last && IsOneOf(text[first], " \t\""))
            ++first;
        while (last > first && IsOneOf(text[last - 1], " \t\""))
            --last;
        if (last > first)
            parts.push_back(text.substr(first, last - first));
        start = end + 1;
    }
    return parts;
}

} // namespace shadow_detail

// The folders of a PATH value in order: split at ';', surrounding quotes
// and blanks removed, empty entries skipped. "C:\Tools \" names C:\Tools:
// what a trailing separator hid is trimmed too, but a drive's root keeps
// its backslash.
template <typename String>
std::vector<String> SplitSearchPath(const String& path)
{
    using Char = typename String::value_type;
    const auto isDriveRoot = [](const String& folder) {
        return folder.size() == 3 && folder[1] == Char(':') && (folder[2] == Char('\\') || folder[2] == Char('/'));
    };
    std::vector<String> folders;
    for (String folder : shadow_detail::Split(path)) {
        while (!folder.empty() && !isDriveRoot(folder) && shadow_detail::IsOneOf(folder.back(), "\\/ \t\""))
            folder.pop_back();
        if (!folder.empty())
            folders.push_back(folder);
    }
    return folders;
}

// The extensions of a PATHEXT value; the system's default list when empty.
template <typename String>
std::vector<String> SplitExtensions(const String& pathext)
{
    std::vector<String> extensions = shadow_detail::Split(pathext);
    if (extensions.empty()) {
        const std::string defaults = ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";
        extensions = shadow_detail::Split(String(defaults.begin(), defaults.end()));
    }
    return extensions;
}

// Every file that would win over a command of that name, in the order
// they are tried: each folder with each extension.
template <typename String>
std::vector<String> ShadowCandidates(const String& name, const std::vector<String>& folders,
                                     const std::vector<String>& extensions)
{
    using Char = typename String::value_type;
    std::vector<String> candidates;
    for (const String& folder : folders) {
        const String prefix = folder.back() == Char('\\') ? folder : folder + Char('\\');
        for (const String& extension : extensions)
            candidates.push_back(prefix + name + extension);
    }
    return candidates;
}
