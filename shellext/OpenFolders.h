#pragma once
// The folders shown in the user's open Explorer windows, asked of the
// shell's window list. Those are calls into another process with no time-out
// of their own, so they run on a worker thread and the caller waits only so
// long: a hung Explorer costs the menu a moment, never the host.
#include "shellext/OpenFolderRules.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tesselator {

// What has arrived within `waitMs`, in the order the windows were listed,
// each with its z-order place. Empty when the list cannot be reached (an
// elevated host) or the worker cannot start. The worker may go on after the
// wait; it holds the module until it ends.
std::vector<WindowFolder> FindOpenFolders(DWORD waitMs);

// Two paths name the same folder when they match under the system's
// case mapping (as the file system compares names).
std::u16string SystemFolderKey(std::u16string_view path);

} // namespace tesselator
