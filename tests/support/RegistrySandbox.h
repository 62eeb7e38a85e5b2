#pragma once
// Redirects HKLM, HKCU and HKCR of this process to scratch keys for the
// lifetime of the object, so tests never touch the prefix's real registry.
#include <windows.h>

#include <map>
#include <string>

class CRegistrySandbox {
public:
    CRegistrySandbox();
    ~CRegistrySandbox();
    CRegistrySandbox(const CRegistrySandbox&) = delete;
    CRegistrySandbox& operator=(const CRegistrySandbox&) = delete;

private:
    std::wstring m_base;
    HKEY m_machine = nullptr;
    HKEY m_user = nullptr;
    HKEY m_classes = nullptr;
};

// Test helpers on the (redirected) registry.
bool KeyExists(HKEY root, const std::wstring& subkey);
// Reads a value raw: its type and bytes. False when absent. view may name
// KEY_WOW64_32KEY or KEY_WOW64_64KEY.
bool ReadRawValue(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD& type,
                  std::string& bytes, REGSAM view = 0);
// A REG_SZ value up to its terminator; "<missing>" when absent or of another type.
std::wstring ReadStringValue(HKEY root, const std::wstring& subkey, const std::wstring& name = L"", REGSAM view = 0);
void WriteRawValue(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD type,
                   const std::string& bytes);
// A text value as the registry stores it: UTF-16 with its terminator.
void WriteStringValue(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& text,
                      DWORD type = REG_SZ);
std::string TextBytes(const std::wstring& text);
void CreateKey(HKEY root, const std::wstring& subkey);
DWORD CountValues(HKEY root, const std::wstring& subkey);

// Every value below the key, subkeys included, as "sub\\key\\name" ->
// "type:bytes", so that two states compare byte for byte. Empty when the
// key is missing.
std::map<std::wstring, std::string> ReadKeyTree(HKEY root, const std::wstring& subkey);
