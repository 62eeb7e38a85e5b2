#pragma once
// The App Paths entries of the machine as the System Commands page reads
// and deletes them. Every read goes through the caller's key holder.
#include <windows.h>

#include <string>

class CRegistryKey;

// One entry, read afresh. The full key name travels with the row: deleting
// must address this key, not one rebuilt from the shown name (x.com is
// shown as "x", and "x" + ".exe" may be another program's entry).
struct SystemCommandEntry {
    std::string keyName;
    std::string displayName;
    std::string path;      // quotes stripped; empty when unreadable
    bool pathRead = false; // false: the key did not open or had no readable default value
};

// Full subkey of an entry under HKEY_LOCAL_MACHINE.
std::string AppPathsEntryKey(const std::string& keyName);

// Puts the App Paths key, opened for listing, into the holder and reads the
// name of the subkey at index (closing whatever it held). On any failure
// (the end included) the holder is closed and name left unchanged.
bool EnumAppPathsKey(CRegistryKey& holder, DWORD index, std::string& name);

// Opens the entry for query into the holder, reads its default value into
// the bounded buffer and closes the key again. False, path untouched, when
// the key does not open or the value is absent or too long.
bool ReadAppPathsTarget(CRegistryKey& holder, const std::string& keyName, std::string& path);

SystemCommandEntry ReadSystemCommandEntry(CRegistryKey& holder, const std::string& keyName);

// Deletes exactly this entry's key, one level, no recursion.
bool DeleteAppPathsKey(const std::string& keyName);
