#include "regbackup/KeyTree.h"

#include "framework/RegistryKey.h"
#include "framework/Utf16.h"

#include <iterator>
#include <vector>

namespace {

bool ReadValues(CRegistryKey& key, std::vector<RegValue>& values)
{
    std::wstring name;
    DWORD type = REG_NONE;
    std::string data;
    for (DWORD index = 0; key.EnumValue(index, name, type, data); ++index)
        values.push_back({ToUtf16(name), type, std::move(data)});
    return key.LastError() == ERROR_NO_MORE_ITEMS;
}

bool ReadSubkeyNames(CRegistryKey& key, std::vector<std::u16string>& names)
{
    std::wstring name;
    for (DWORD index = 0; key.EnumSubkey(index, name); ++index)
        names.push_back(ToUtf16(name));
    return key.LastError() == ERROR_NO_MORE_ITEMS;
}

} // namespace

LONG CaptureKeyTree(HKEY root, const std::u16string& path, RegKey& tree)
{
    CRegistryKey key;
    if (!key.Open(root, ToWide(path), KEY_READ))
        return key.LastError();
    tree.values.clear();
    tree.subkeys.clear();
    std::vector<std::u16string> names;
    if (!ReadValues(key, tree.values) || !ReadSubkeyNames(key, names))
        return key.LastError();
    for (std::u16string& name : names) {
        RegKey subkey;
        if (const LONG error = CaptureKeyTree(root, path + u'\\' + name, subkey); error != ERROR_SUCCESS)
            return error;
        subkey.name = std::move(name);
        tree.subkeys.push_back(std::move(subkey));
    }
    return ERROR_SUCCESS;
}

LONG WriteKeyTree(HKEY root, const std::u16string& path, const RegKey& tree)
{
    CRegistryKey key;
    if (!key.Create(root, ToWide(path), KEY_WRITE))
        return key.LastError();
    for (const RegValue& value : tree.values)
        if (!key.WriteValue(ToWide(value.name), value.type, value.data))
            return key.LastError();
    for (const RegKey& subkey : tree.subkeys)
        if (const LONG error = WriteKeyTree(root, path + u'\\' + subkey.name, subkey); error != ERROR_SUCCESS)
            return error;
    return ERROR_SUCCESS;
}

LONG DeleteKeyTree(HKEY root, const std::u16string& path)
{
    return CRegistryKey::DeleteTree(root, ToWide(path));
}

std::wstring SystemErrorText(LONG error)
{
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(error), 0, text, static_cast<DWORD>(std::size(text)),
                                        nullptr);
    std::wstring message(text, length < std::size(text) ? length : 0);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? L"Error " + std::to_wstring(error) + L"." : message;
}
