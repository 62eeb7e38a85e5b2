#pragma once
// Path text rules that ask the system nothing, platform-free: paths are
// built by plain concatenation; nothing is quoted or escaped. Templates over
// the string type, so Win32 code calls them on its UTF-16 text and the
// native fuzzers on bytes.
#include <string>

// Text before the last backslash; empty when there is none or it is first.
template <typename String>
String GetParentFolder(const String& path)
{
    const size_t slash = path.rfind(typename String::value_type('\\'));
    if (slash == String::npos || slash == 0)
        return {};
    return path.substr(0, slash);
}

// Drops trailing backslashes, but keeps a three-character path (C:\).
template <typename String>
String TrimTrailingBackslashes(String path)
{
    while (!path.empty() && path.back() == typename String::value_type('\\') && path.size() != 3)
        path.pop_back();
    return path;
}
