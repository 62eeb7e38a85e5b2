#pragma once
// oleaut32, bound at run time by those who need it: IDispatch callers and
// registration. The library is loaded into every process that shows a file
// dialog, and a right-click never calls oleaut32, so a process that has not
// loaded it yet does not load it for its first menu.
#include <windows.h>

namespace tesselator {

// oleaut32, loaded on first use and then kept (pinned) for the process's
// life: the type infos it hands out may outlive every object of this
// library, and the library itself. Null when it cannot be loaded.
HMODULE OleAutomation();

// One of its calls by name; null where it lacks it (older systems lack the
// per-user registration calls) or cannot be loaded.
template <typename Function>
Function OleAutomationCall(const char* name)
{
    const HMODULE module = OleAutomation();
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

} // namespace tesselator
