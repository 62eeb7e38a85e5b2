#include "framework/RegistryKey.h"

#include "framework/Services.h"

#include <cwchar>

namespace {

// The registry's limit on a key name, and its terminator.
constexpr DWORD kKeyNameRoom = 256;
// A value that keeps growing while it is read is given up after this many tries.
constexpr int kReadAttempts = 4;
// The first read's buffer: a path of the program's stores and its terminator.
constexpr DWORD kFirstReadBytes = 1024;

const wchar_t* NameOrDefault(const std::wstring& valueName)
{
    return valueName.empty() ? nullptr : valueName.c_str();
}

} // namespace

bool CRegistryKey::Done(LONG error)
{
    m_lastError = error;
    return error == ERROR_SUCCESS;
}

bool CRegistryKey::Allowed(HKEY root, const std::wstring& subkey, REGSAM access)
{
    const auto& allowed = Services().registryAccess;
    if (allowed && !allowed(root, subkey, access)) {
        m_lastError = ERROR_ACCESS_DENIED;
        return false;
    }
    return true;
}

bool CRegistryKey::Open(HKEY root, const std::wstring& subkey, REGSAM access)
{
    Close();
    if (!Allowed(root, subkey, access))
        return false;
    if (!Done(RegOpenKeyExW(root, subkey.c_str(), 0, access, &m_key)))
        m_key = nullptr;
    return m_key != nullptr;
}

bool CRegistryKey::Create(HKEY root, const std::wstring& subkey, REGSAM access)
{
    Close();
    if (!Allowed(root, subkey, access))
        return false;
    if (!Done(RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_key,
                              nullptr)))
        m_key = nullptr;
    return m_key != nullptr;
}

void CRegistryKey::Close()
{
    if (m_key) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

bool CRegistryKey::ReadString(const std::wstring& valueName, size_t maxChars, std::wstring& text)
{
    DWORD type = REG_NONE;
    std::string bytes;
    if (!ReadValue(valueName, type, bytes))
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return Done(ERROR_UNSUPPORTED_TYPE);
    // A stored text need not end in a zero, nor end at the first one.
    std::wstring stored(bytes.size() / sizeof(wchar_t), L'\0');
    bytes.copy(reinterpret_cast<char*>(stored.data()), stored.size() * sizeof(wchar_t));
    stored.resize(wcsnlen(stored.c_str(), stored.size()));
    if (stored.size() > maxChars)
        return Done(ERROR_MORE_DATA);
    text = std::move(stored);
    return true;
}

bool CRegistryKey::WriteString(const std::wstring& valueName, const std::wstring& text)
{
    const std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    return WriteValue(valueName, REG_SZ, bytes);
}

bool CRegistryKey::ReadValue(const std::wstring& valueName, DWORD& type, std::string& bytes)
{
    if (!m_key)
        return Done(ERROR_INVALID_HANDLE);
    // Asked straight into a buffer most values fit: asking the size first
    // cost a second registry round trip per value. A larger value says its
    // size, and may grow between two calls: ask again until it fits.
    DWORD size = kFirstReadBytes;
    for (int attempt = 0; attempt <= kReadAttempts; ++attempt) {
        std::string buffer(size, '\0');
        DWORD got = size;
        const LONG error = RegQueryValueExW(m_key, NameOrDefault(valueName), nullptr, &type,
                                            reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (error == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (!Done(error))
            return false;
        buffer.resize(got);
        bytes = std::move(buffer);
        return true;
    }
    return Done(ERROR_MORE_DATA);
}

bool CRegistryKey::WriteValue(const std::wstring& valueName, DWORD type, const std::string& bytes)
{
    if (!m_key)
        return Done(ERROR_INVALID_HANDLE);
    if (!Done(RegSetValueExW(m_key, NameOrDefault(valueName), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()))))
        return false;
    RegFlushKey(m_key);
    return true;
}

bool CRegistryKey::HasValue(const std::wstring& valueName)
{
    return m_key ? Done(RegQueryValueExW(m_key, NameOrDefault(valueName), nullptr, nullptr, nullptr, nullptr))
                 : Done(ERROR_INVALID_HANDLE);
}

bool CRegistryKey::DeleteValue(const std::wstring& valueName)
{
    return m_key ? Done(RegDeleteValueW(m_key, NameOrDefault(valueName))) : Done(ERROR_INVALID_HANDLE);
}

bool CRegistryKey::EnumSubkey(DWORD index, std::wstring& name)
{
    if (!m_key)
        return Done(ERROR_INVALID_HANDLE);
    wchar_t buffer[kKeyNameRoom] = {};
    DWORD length = kKeyNameRoom;
    if (!Done(RegEnumKeyExW(m_key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr)))
        return false;
    name.assign(buffer, length < kKeyNameRoom ? length : 0);
    return true;
}

bool CRegistryKey::EnumValue(DWORD index, std::wstring& name, DWORD& type, std::string& bytes)
{
    if (!m_key)
        return Done(ERROR_INVALID_HANDLE);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD nameMax = 0;
        DWORD dataMax = 0;
        if (!Done(RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nameMax,
                                   &dataMax, nullptr, nullptr)))
            return false;
        std::wstring nameBuffer(nameMax + 1, L'\0');
        std::string data(dataMax, '\0');
        DWORD nameLength = nameMax + 1;
        DWORD dataSize = dataMax;
        const LONG error = RegEnumValueW(m_key, index, nameBuffer.data(), &nameLength, nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (error == ERROR_MORE_DATA)
            continue; // grew meanwhile: ask the sizes again
        if (!Done(error))
            return false;
        nameBuffer.resize(nameLength);
        data.resize(dataSize);
        name = std::move(nameBuffer);
        bytes = std::move(data);
        return true;
    }
    return Done(ERROR_MORE_DATA);
}

DWORD CRegistryKey::SubkeyCount()
{
    DWORD count = 0;
    if (!m_key)
        return 0;
    return Done(RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr))
               ? count
               : 0;
}

bool CRegistryKey::DeleteKey(HKEY root, const std::wstring& subkey)
{
    CRegistryKey probe;
    return probe.Allowed(root, subkey, kRegistryDeleteAccess) && RegDeleteKeyW(root, subkey.c_str()) == ERROR_SUCCESS;
}

LONG CRegistryKey::DeleteTree(HKEY root, const std::wstring& subkey)
{
    CRegistryKey probe;
    if (!probe.Allowed(root, subkey, kRegistryDeleteAccess))
        return ERROR_ACCESS_DENIED;
    return RegDeleteTreeW(root, subkey.c_str());
}
