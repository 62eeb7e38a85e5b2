#include "framework/RegistryKey.h"

#include "framework/Services.h"

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kValueBufferSize = 260;
// A key name is at most 255 UTF-16 characters: 510 bytes in a double-byte
// code page, and the terminator.
constexpr DWORD kKeyNameBufferSize = 512;

} // namespace

bool CRegistryKey::Allowed(HKEY root, const std::string& subkey, REGSAM access)
{
    const auto allowed = Services().registryAccess;
    if (allowed && !allowed(root, subkey, access)) {
        m_lastError = ERROR_ACCESS_DENIED;
        return false;
    }
    return true;
}

bool CRegistryKey::Open(HKEY root, const std::string& subkey, REGSAM access)
{
    Close();
    if (!Allowed(root, subkey, access))
        return false;
    m_lastError = RegOpenKeyExA(root, subkey.c_str(), 0, access, &m_key);
    if (m_lastError != ERROR_SUCCESS)
        m_key = nullptr;
    return m_key != nullptr;
}

bool CRegistryKey::Create(HKEY root, const std::string& subkey, REGSAM access)
{
    Close();
    if (!Allowed(root, subkey, access))
        return false;
    m_lastError = RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access, nullptr, &m_key, nullptr);
    if (m_lastError != ERROR_SUCCESS)
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

bool CRegistryKey::SetString(const std::string& valueName, const std::string& text)
{
    if (!m_key)
        return false;
    const auto size = static_cast<DWORD>(text.size() + 1);
    m_lastError = RegSetValueExA(m_key, valueName.empty() ? nullptr : valueName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()), size);
    if (m_lastError != ERROR_SUCCESS)
        return false;
    RegFlushKey(m_key);
    return true;
}

bool CRegistryKey::GetString(const std::string& valueName, std::string& text)
{
    if (!m_key)
        return false;
    char buffer[kValueBufferSize] = {};
    DWORD size = kValueBufferSize;
    m_lastError = RegQueryValueExA(m_key, valueName.empty() ? nullptr : valueName.c_str(), nullptr,
                                   nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    if (m_lastError != ERROR_SUCCESS)
        return false;
    const size_t length = strnlen(buffer, kValueBufferSize);
    if (length == kValueBufferSize) {
        // 260 bytes of text and no room for the terminator: does not fit.
        m_lastError = ERROR_MORE_DATA;
        return false;
    }
    text.assign(buffer, length);
    return true;
}

bool CRegistryKey::GetStringWhole(const std::string& valueName, std::string& text)
{
    DWORD type = 0;
    std::string bytes;
    if (!GetValue(valueName, type, bytes))
        return false;
    text.assign(bytes.data(), strnlen(bytes.data(), bytes.size()));
    return true;
}

bool CRegistryKey::GetValue(const std::string& valueName, DWORD& type, std::string& bytes)
{
    if (!m_key)
        return false;
    const char* name = valueName.empty() ? nullptr : valueName.c_str();
    DWORD size = 0;
    m_lastError = RegQueryValueExA(m_key, name, nullptr, nullptr, nullptr, &size);
    if (m_lastError != ERROR_SUCCESS)
        return false;
    // The value may grow between the two calls; ask again until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<char> buffer(size + 1, '\0');
        DWORD got = size;
        m_lastError = RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (m_lastError == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (m_lastError != ERROR_SUCCESS)
            return false;
        bytes.assign(buffer.data(), got);
        return true;
    }
    return false;
}

bool CRegistryKey::SetValue(const std::string& valueName, DWORD type, const std::string& bytes)
{
    if (!m_key)
        return false;
    m_lastError = RegSetValueExA(m_key, valueName.empty() ? nullptr : valueName.c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    if (m_lastError != ERROR_SUCCESS)
        return false;
    RegFlushKey(m_key);
    return true;
}

bool CRegistryKey::HasValue(const std::string& valueName)
{
    if (!m_key)
        return false;
    m_lastError = RegQueryValueExA(m_key, valueName.empty() ? nullptr : valueName.c_str(), nullptr, nullptr,
                                   nullptr, nullptr);
    return m_lastError == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteValue(const std::string& valueName)
{
    if (!m_key)
        return false;
    m_lastError = RegDeleteValueA(m_key, valueName.empty() ? nullptr : valueName.c_str());
    return m_lastError == ERROR_SUCCESS;
}

bool CRegistryKey::EnumSubkey(DWORD index, std::string& name)
{
    if (!m_key)
        return false;
    char buffer[kKeyNameBufferSize] = {};
    DWORD length = kKeyNameBufferSize;
    m_lastError = RegEnumKeyExA(m_key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (m_lastError != ERROR_SUCCESS)
        return false;
    name.assign(buffer, strnlen(buffer, kKeyNameBufferSize));
    return true;
}

DWORD CRegistryKey::SubkeyCount()
{
    DWORD count = 0;
    if (!m_key)
        return 0;
    m_lastError = RegQueryInfoKeyA(m_key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr);
    return m_lastError == ERROR_SUCCESS ? count : 0;
}

bool CRegistryKey::DeleteKey(HKEY root, const std::string& subkey)
{
    CRegistryKey probe;
    if (!probe.Allowed(root, subkey, kRegistryDeleteAccess))
        return false;
    return RegDeleteKeyA(root, subkey.c_str()) == ERROR_SUCCESS;
}
