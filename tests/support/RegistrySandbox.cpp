#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

HKEY CreateScratch(const std::wstring& path)
{
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    return key;
}

const wchar_t* NameOrDefault(const std::wstring& name)
{
    return name.empty() ? nullptr : name.c_str();
}

} // namespace

CRegistrySandbox::CRegistrySandbox()
{
    static std::atomic<int> counter{0};
    m_base = L"Software\\VerbosaTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(counter++);
    m_machine = CreateScratch(m_base + L"\\HKLM");
    m_user = CreateScratch(m_base + L"\\HKCU");
    m_classes = CreateScratch(m_base + L"\\HKCR");
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
    RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str());
}

bool KeyExists(HKEY root, const std::wstring& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ReadRawValue(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD& type, std::string& bytes,
                  REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, NameOrDefault(name), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        rc = RegQueryValueExW(key, NameOrDefault(name), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::wstring ReadStringValue(HKEY root, const std::wstring& subkey, const std::wstring& name, REGSAM view)
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadRawValue(root, subkey, name, type, bytes, view) || type != REG_SZ)
        return L"<missing>";
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    bytes.copy(reinterpret_cast<char*>(text.data()), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::string TextBytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

void WriteRawValue(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD type,
                   const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, NameOrDefault(name), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
}

void WriteStringValue(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& text,
                      DWORD type)
{
    WriteRawValue(root, subkey, name, type, TextBytes(text));
}

void CreateKey(HKEY root, const std::wstring& subkey)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
}

DWORD CountValues(HKEY root, const std::wstring& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return values;
}

namespace {

void AddKeyTree(HKEY root, const std::wstring& subkey, const std::wstring& shown,
                std::map<std::wstring, std::string>& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 65536;
        std::string data(size, '\0');
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS)
            break;
        data.resize(size);
        out[shown + L"\\" + name] = std::to_string(type) + ":" + data;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        if (RegEnumKeyW(key, i, name, 256) != ERROR_SUCCESS)
            break;
        out[shown + L"\\" + name + L"\\"] = "key"; // an empty subkey counts too
        AddKeyTree(root, subkey + L"\\" + name, shown + L"\\" + name, out);
    }
    RegCloseKey(key);
}

} // namespace

std::map<std::wstring, std::string> ReadKeyTree(HKEY root, const std::wstring& subkey)
{
    std::map<std::wstring, std::string> tree;
    AddKeyTree(root, subkey, L"", tree);
    return tree;
}
