#pragma once
// Scratch App Paths entries under the sandboxed HKEY_LOCAL_MACHINE.
#include "catalogue/CommandPaths.h"
#include "systemcmds/AppPathsStore.h"
#include "tests/support/RegistrySandbox.h"

#include <string>

// An entry whose default value is the given text (REG_SZ, zero counted).
inline void AddAppPathsEntry(const std::wstring& keyName, const std::wstring& target)
{
    WriteStringValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName), L"", target);
}

// An entry without a default value.
inline void AddBareAppPathsEntry(const std::wstring& keyName)
{
    CreateKey(HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName));
}

inline bool AppPathsEntryExists(const std::wstring& keyName)
{
    return KeyExists(HKEY_LOCAL_MACHINE, AppPathsEntryKey(keyName));
}
