#pragma once
// Which files would answer a typed command name before the Run dialog reads
// App Paths, platform-free: the system looks in the Windows folder,
// System32 and the PATH folders, trying each extension of PATHEXT.
#include <string>
#include <vector>

// The folders of a PATH value in order: split at ';', surrounding quotes
// and blanks removed, empty entries skipped.
std::vector<std::string> SplitSearchPath(const std::string& path);
// The extensions of a PATHEXT value; the system's default list when empty.
std::vector<std::string> SplitExtensions(const std::string& pathext);

// Every file that would win over a command of that name, in the order
// they are tried: each folder with each extension.
std::vector<std::string> ShadowCandidates(const std::string& name, const std::vector<std::string>& folders,
                                          const std::vector<std::string>& extensions);
