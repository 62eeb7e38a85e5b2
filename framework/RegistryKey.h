#pragma once
// Holder of one open registry key (or none), through the wide API: names
// and data come and go exactly as the registry holds them. Open and Create
// close the held key first; the destructor closes it. Every operation
// reports success as a boolean, keeps the system's error for LastError and
// shows nothing: the caller decides what the user hears. Every open,
// create and delete is first put to the services' access filter.
#include <windows.h>

#include <string>

class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    bool Open(HKEY root, const std::wstring& subkey, REGSAM access);
    // Creates the key or opens it when it exists: non-volatile, no class.
    bool Create(HKEY root, const std::wstring& subkey, REGSAM access);
    void Close();

    // A text value (REG_SZ or REG_EXPAND_SZ, not expanded) of at most
    // maxChars characters, up to its first zero. Another type fails with
    // ERROR_UNSUPPORTED_TYPE, a longer text with ERROR_MORE_DATA; text is
    // left unchanged on failure.
    bool ReadString(const std::wstring& valueName, size_t maxChars, std::wstring& text);
    // REG_SZ with the terminating zero counted; flushes after a good write.
    bool WriteString(const std::wstring& valueName, const std::wstring& text);
    // A value exactly as stored: its type and all its bytes.
    bool ReadValue(const std::wstring& valueName, DWORD& type, std::string& bytes);
    // Writes a value of any type as given; flushes after a good write.
    bool WriteValue(const std::wstring& valueName, DWORD type, const std::string& bytes);
    bool HasValue(const std::wstring& valueName);
    bool DeleteValue(const std::wstring& valueName);

    // The subkey or value at index; false with ERROR_NO_MORE_ITEMS past
    // the last. Any name the registry can hold fits.
    bool EnumSubkey(DWORD index, std::wstring& name);
    bool EnumValue(DWORD index, std::wstring& name, DWORD& type, std::string& bytes);
    // How many subkeys the held key has; 0 when it cannot tell.
    DWORD SubkeyCount();

    // One level, no recursion; independent of the held key.
    static bool DeleteKey(HKEY root, const std::wstring& subkey);
    // The key with everything below it; the system's error.
    static LONG DeleteTree(HKEY root, const std::wstring& subkey);

    HKEY Handle() const { return m_key; }
    bool IsOpen() const { return m_key != nullptr; }
    LONG LastError() const { return m_lastError; }

private:
    bool Allowed(HKEY root, const std::wstring& subkey, REGSAM access);
    bool Done(LONG error);

    HKEY m_key = nullptr;
    LONG m_lastError = ERROR_SUCCESS;
};

// A delete-key request as the access filter sees it.
constexpr REGSAM kRegistryDeleteAccess = DELETE;

// The longest text a value of the program's stores holds: what a 260-unit
// buffer with its terminator took.
constexpr size_t kRegistryTextMax = 259;
// No limit short of the registry's own.
constexpr size_t kRegistryTextWhole = static_cast<size_t>(-1);
