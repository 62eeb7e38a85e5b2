#pragma once
// Path text rules that ask the system nothing, platform-free: paths are
// built by plain concatenation; nothing is quoted or escaped.
#include <string>

// Text before the last backslash; empty when there is none or it is first.
std::string GetParentFolder(const std::string& path);
// Drops trailing backslashes, but keeps a three-character path (C:\).
std::string TrimTrailingBackslashes(std::string path);
