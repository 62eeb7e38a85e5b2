#pragma once
// Which of the folders shown in the user's Explorer windows the nested
// submenu lists. Platform-free, so tests and the fuzzer call it directly.
#include <string>
#include <string_view>
#include <vector>

namespace tesselator {

// What one window showed, as the enumeration found it.
struct WindowFolder {
    std::u16string path; // empty: no file-system folder (a virtual one, or none)
    int zOrder = -1;     // place among the top-level windows, front-most 0; -1 unknown
};

// The key under which two paths count as the same folder. Paths compare
// without regard to case; the library passes the system's own mapping.
using FolderKey = std::u16string (*)(std::u16string_view path);
std::u16string AsciiFoldedKey(std::u16string_view path);

// File-system folders only, each once (the front-most window's spelling),
// front-most first (windows of unknown place after the others, in the order
// found), without ownFolder, at most kMaxOpenFolders.
std::vector<std::u16string> OpenFolderList(std::vector<WindowFolder> windows, std::u16string_view ownFolder,
                                           FolderKey key = AsciiFoldedKey);

} // namespace tesselator
