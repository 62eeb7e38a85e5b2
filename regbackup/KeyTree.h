#pragma once
// Whole registry keys through the wide API, so that names and data come
// and go exactly as the registry holds them. Every open, create and delete
// is first put to the services' access filter, as CRegistryKey does.
#include <windows.h>

#include "regbackup/RegFileFormat.h"

// Reads the key at path below root: every value with its type and bytes,
// every subkey, recursively. The tree's own name is left to the caller.
// ERROR_FILE_NOT_FOUND when the key is missing.
LONG CaptureKeyTree(HKEY root, const std::u16string& path, RegKey& tree);

// Creates the key at path and writes the tree's values and subkeys into it.
LONG WriteKeyTree(HKEY root, const std::u16string& path, const RegKey& tree);

// Deletes the key at path with everything below it.
LONG DeleteKeyTree(HKEY root, const std::u16string& path);

// The system's text for a registry or file error, without a trailing break.
std::wstring SystemErrorText(LONG error);
