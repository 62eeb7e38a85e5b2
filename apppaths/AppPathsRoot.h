#pragma once
// The registry root of a scope's App Paths: the one mapping every reader
// and writer of entries uses.
#include "apppaths/AppPathsScope.h"

#include <windows.h>

inline HKEY AppPathsRoot(CommandScope scope)
{
    return scope == CommandScope::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}
