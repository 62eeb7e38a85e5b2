#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

HKEY CreateScratch(const std::string& path)
{
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    return key;
}

} // namespace

CRegistrySandbox::CRegistrySandbox()
{
    static std::atomic<int> counter{0};
    m_base = "Software\\VerbosaTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(counter++);
    m_machine = CreateScratch(m_base + "\\HKLM");
    m_user = CreateScratch(m_base + "\\HKCU");
    m_classes = CreateScratch(m_base + "\\HKCR");
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_machine);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, m_classes);
    RegOverridePredefKey(HKEY_CURRENT_USER, m_user);
}

CRegistrySandbox::~CRegistrySandbox()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(m_machine);
    RegCloseKey(m_user);
    RegCloseKey(m_classes);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_base.c_str());
}

bool KeyExists(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ReadRawValue(HKEY root, const std::string& subkey, const std::string& name, DWORD& type,
                  std::string& bytes, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key, name.empty() ? nullptr : name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        rc = RegQueryValueExA(key, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::string ReadStringValue(HKEY root, const std::string& subkey, const std::string& name, REGSAM view)
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadRawValue(root, subkey, name, type, bytes, view) || type != REG_SZ)
        return "<missing>";
    return bytes.substr(0, bytes.find('\0'));
}

void WriteRawValue(HKEY root, const std::string& subkey, const std::string& name, DWORD type,
                   const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
}

void CreateKey(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegCloseKey(key);
}

DWORD CountValues(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return values;
}

namespace {

void AddKeyTree(HKEY root, const std::string& subkey, const std::string& shown,
                std::map<std::string, std::string>& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name, type = 0, size = 65536;
        std::string data(size, '\0');
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &size) != ERROR_SUCCESS)
            break;
        data.resize(size);
        out[shown + "\\" + name] = std::to_string(type) + ":" + data;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        if (RegEnumKeyA(key, i, name, sizeof name) != ERROR_SUCCESS)
            break;
        out[shown + "\\" + name + "\\"] = "key"; // an empty subkey counts too
        AddKeyTree(root, subkey + "\\" + name, shown + "\\" + name, out);
    }
    RegCloseKey(key);
}

} // namespace

std::map<std::string, std::string> ReadKeyTree(HKEY root, const std::string& subkey)
{
    std::map<std::string, std::string> tree;
    AddKeyTree(root, subkey, "", tree);
    return tree;
}
