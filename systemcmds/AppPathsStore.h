#pragma once
// The App Paths entries of the machine as the System Commands page reads
// and deletes them. Every read goes through the caller's key holder.
#include <windows.h>

#include <string>

#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"

// One entry, read afresh. The full key name travels with the row: deleting
// must address this key, not one rebuilt from the shown name (x.com is
// shown as "x", and "x" + ".exe" may be another program's entry).
struct SystemCommandEntry {
    std::wstring keyName;
    std::wstring displayName;
    std::wstring path;      // quotes stripped; empty when unreadable
    bool pathRead = false; // false: the key did not open or had no readable default value
};

// Full subkey of an entry under HKEY_LOCAL_MACHINE.
std::wstring AppPathsEntryKey(const std::wstring& keyName);

// The App Paths subkeys over one open handle: reopening the key for every
// index cost a registry round trip per entry.
class CAppPathsWalk {
public:
    // Opens the scope's key for listing; false when it is missing or refused.
    bool Open(CommandScope scope = CommandScope::machine);
    // The number of entries now; 0 when not open.
    DWORD Count();

    enum class Step { name, skipped, end };
    // The name at index. A name too long to read is skipped: it must never
    // hide the entries after it. At the end (or any other error) the key
    // is closed.
    Step NameAt(DWORD index, std::wstring& name);
    bool IsOpen() const { return m_key.IsOpen(); }
    // Reads the entry of that name below the open key into the holder.
    SystemCommandEntry ReadEntry(CRegistryKey& holder, const std::wstring& keyName);

private:
    CRegistryKey m_key;
};

// Opens the entry for query into the holder, reads its default value into
// the bounded buffer and closes the key again. False, path untouched, when
// the key does not open or the value is absent or too long.
bool ReadAppPathsTarget(CRegistryKey& holder, const std::wstring& keyName, std::wstring& path);

SystemCommandEntry ReadSystemCommandEntry(CRegistryKey& holder, const std::wstring& keyName);

// Deletes exactly this entry's key, one level, no recursion; the user's
// entries need no administrator rights.
bool DeleteAppPathsKey(const std::wstring& keyName, CommandScope scope = CommandScope::machine);
