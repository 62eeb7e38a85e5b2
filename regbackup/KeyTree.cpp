#include "regbackup/KeyTree.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <vector>

namespace {

void CloseRegistryKey(HKEY key)
{
    RegCloseKey(key);
}
using CKeyHandle = CUniqueHandle<handle_detail::NullTraits<HKEY, CloseRegistryKey>>;

// The registry's limit on a key name, and its terminator.
constexpr DWORD kKeyNameRoom = 256;
// A value that keeps growing while it is read is given up after this many tries.
constexpr int kReadAttempts = 4;

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool Allowed(HKEY root, const std::u16string& path, REGSAM access)
{
    const auto& allowed = Services().registryAccess;
    return !allowed || allowed(root, Utf16ToAnsi(path), access);
}

LONG ReadValues(HKEY key, std::vector<RegValue>& values)
{
    DWORD nameMax = 0;
    DWORD dataMax = 0;
    int attempts = 0;
    bool sized = false;
    for (DWORD index = 0;;) {
        if (!sized) {
            const LONG error = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                &nameMax, &dataMax, nullptr, nullptr);
            if (error != ERROR_SUCCESS)
                return error;
            sized = true;
        }
        std::vector<wchar_t> name(nameMax + 1, L'\0');
        std::string data(dataMax, '\0');
        DWORD nameLength = nameMax + 1;
        DWORD dataSize = dataMax;
        DWORD type = REG_NONE;
        const LONG error = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (error == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (error == ERROR_MORE_DATA && ++attempts < kReadAttempts) {
            sized = false; // grew meanwhile: ask the sizes again
            continue;
        }
        if (error != ERROR_SUCCESS)
            return error;
        data.resize(dataSize);
        values.push_back({std::u16string(reinterpret_cast<const char16_t*>(name.data()), nameLength), type,
                          std::move(data)});
        ++index;
        attempts = 0;
    }
}

LONG ReadSubkeyNames(HKEY key, std::vector<std::u16string>& names)
{
    for (DWORD index = 0;; ++index) {
        wchar_t name[kKeyNameRoom] = {};
        DWORD length = kKeyNameRoom;
        const LONG error = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (error != ERROR_SUCCESS)
            return error;
        names.emplace_back(reinterpret_cast<const char16_t*>(name), length);
    }
}

} // namespace

LONG CaptureKeyTree(HKEY root, const std::u16string& path, RegKey& tree)
{
    if (!Allowed(root, path, KEY_READ))
        return ERROR_ACCESS_DENIED;
    HKEY opened = nullptr;
    LONG error = RegOpenKeyExW(root, Wide(path), 0, KEY_READ, &opened);
    if (error != ERROR_SUCCESS)
        return error;
    const CKeyHandle key(opened);
    tree.values.clear();
    tree.subkeys.clear();
    if ((error = ReadValues(key.Get(), tree.values)) != ERROR_SUCCESS)
        return error;
    std::vector<std::u16string> names;
    if ((error = ReadSubkeyNames(key.Get(), names)) != ERROR_SUCCESS)
        return error;
    for (std::u16string& name : names) {
        RegKey subkey;
        if ((error = CaptureKeyTree(root, path + u'\\' + name, subkey)) != ERROR_SUCCESS)
            return error;
        subkey.name = std::move(name);
        tree.subkeys.push_back(std::move(subkey));
    }
    return ERROR_SUCCESS;
}

LONG WriteKeyTree(HKEY root, const std::u16string& path, const RegKey& tree)
{
    if (!Allowed(root, path, KEY_WRITE))
        return ERROR_ACCESS_DENIED;
    HKEY created = nullptr;
    LONG error = RegCreateKeyExW(root, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                                 &created, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    const CKeyHandle key(created);
    for (const RegValue& value : tree.values) {
        error = RegSetValueExW(key.Get(), Wide(value.name), 0, value.type,
                               reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
        if (error != ERROR_SUCCESS)
            return error;
    }
    RegFlushKey(key.Get());
    for (const RegKey& subkey : tree.subkeys)
        if ((error = WriteKeyTree(root, path + u'\\' + subkey.name, subkey)) != ERROR_SUCCESS)
            return error;
    return ERROR_SUCCESS;
}

LONG DeleteKeyTree(HKEY root, const std::u16string& path)
{
    if (!Allowed(root, path, kRegistryDeleteAccess))
        return ERROR_ACCESS_DENIED;
    return RegDeleteTreeW(root, Wide(path));
}

std::string SystemErrorText(LONG error)
{
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    std::string message(text, length < sizeof text ? length : 0);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "Error " + std::to_string(error) + "." : message;
}
