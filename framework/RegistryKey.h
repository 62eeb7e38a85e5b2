#pragma once
// Holder of one open registry key (or none). Open and Create close the held
// key first; the destructor closes it. Every operation reports success as a
// boolean and shows nothing: the caller decides what the user hears.
#include <windows.h>

#include <string>

class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    bool Open(HKEY root, const std::string& subkey, REGSAM access);
    // Creates the key or opens it when it exists: non-volatile, no class.
    bool Create(HKEY root, const std::string& subkey, REGSAM access);
    void Close();

    // REG_SZ with the terminating zero counted; flushes after a good write.
    bool SetString(const std::string& valueName, const std::string& text);
    // Reads at most 259 bytes of text into a zero-filled 260-byte buffer,
    // whatever the stored type. Leaves text unchanged on failure.
    bool GetString(const std::string& valueName, std::string& text);
    // Reads the value whole, whatever its length (still type-blind).
    bool GetStringWhole(const std::string& valueName, std::string& text);
    // A value exactly as stored: its type and all its bytes.
    bool GetValue(const std::string& valueName, DWORD& type, std::string& bytes);
    // Writes a value of any type as given; flushes after a good write.
    bool SetValue(const std::string& valueName, DWORD type, const std::string& bytes);
    bool HasValue(const std::string& valueName);
    bool DeleteValue(const std::string& valueName);
    // Enumerates the subkey at index; any name the registry can hold fits.
    bool EnumSubkey(DWORD index, std::string& name);
    // How many subkeys the held key has; 0 when it cannot tell.
    DWORD SubkeyCount();

    // One level, no recursion; independent of the held key.
    static bool DeleteKey(HKEY root, const std::string& subkey);

    HKEY Handle() const { return m_key; }
    bool IsOpen() const { return m_key != nullptr; }
    LONG LastError() const { return m_lastError; }

private:
    bool Allowed(HKEY root, const std::string& subkey, REGSAM access);

    HKEY m_key = nullptr;
    LONG m_lastError = ERROR_SUCCESS;
};

// A delete-key request as the access filter sees it.
constexpr REGSAM kRegistryDeleteAccess = DELETE;
