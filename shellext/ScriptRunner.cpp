#include "shellext/ScriptRunner.h"

#include "shellext/Holders.h"
#include "shellext/WideText.h"

namespace tesselator {

namespace {

HKEY RootKey(ScriptRoot root, HKEY classesRoot)
{
    switch (root) {
    case ScriptRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case ScriptRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case ScriptRoot::ClassesRoot:
        break;
    }
    return classesRoot;
}

bool IsGone(LONG rc) { return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

const HRESULT kNotUtf8 = HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);

HRESULT DeleteTree(HKEY parent, const std::string& name)
{
    const std::optional<std::wstring> wide = Utf8ToWide(name);
    if (!wide)
        return kNotUtf8;
    const LONG rc = RegDeleteTreeW(parent, wide->c_str());
    return rc == ERROR_SUCCESS || IsGone(rc) ? S_OK : HRESULT_FROM_WIN32(rc);
}

// An empty name addresses the default value.
HRESULT SetString(HKEY key, const std::string& name, const std::string& data)
{
    const std::optional<std::wstring> wideName = Utf8ToWide(name);
    const std::optional<std::wstring> wideData = Utf8ToWide(data);
    if (!wideName || !wideData)
        return kNotUtf8;
    const LONG rc = RegSetValueExW(key, wideName->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideData->c_str()),
                                   static_cast<DWORD>((wideData->size() + 1) * sizeof(wchar_t)));
    return HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterKey(HKEY parent, const ScriptKey& entry)
{
    if (entry.mode == KeyMode::ForceRemove) {
        if (const HRESULT hr = DeleteTree(parent, entry.name); FAILED(hr))
            return hr;
    }
    const std::optional<std::wstring> name = Utf8ToWide(entry.name);
    if (!name)
        return kNotUtf8;
    CKeyHolder key;
    const LONG rc = RegCreateKeyExW(parent, name->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                                    key.Put(), nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    if (entry.defaultValue) {
        if (const HRESULT hr = SetString(key.Get(), {}, *entry.defaultValue); FAILED(hr))
            return hr;
    }
    for (const ScriptValue& value : entry.values) {
        if (const HRESULT hr = SetString(key.Get(), value.name, value.data); FAILED(hr))
            return hr;
    }
    for (const ScriptKey& subkey : entry.subkeys) {
        if (const HRESULT hr = RegisterKey(key.Get(), subkey); FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT UnregisterKey(HKEY parent, const ScriptKey& entry)
{
    if (entry.mode != KeyMode::NoRemove)
        return DeleteTree(parent, entry.name);
    const std::optional<std::wstring> name = Utf8ToWide(entry.name);
    if (!name)
        return kNotUtf8;
    CKeyHolder key;
    const LONG rc = RegOpenKeyExW(parent, name->c_str(), 0, KEY_READ | KEY_SET_VALUE, key.Put());
    if (IsGone(rc))
        return S_OK;
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    // Removal goes on past a failure, so one stuck entry leaves no others.
    HRESULT result = S_OK;
    for (const ScriptValue& value : entry.values) {
        const std::optional<std::wstring> valueName = Utf8ToWide(value.name);
        const LONG deleted = valueName ? RegDeleteValueW(key.Get(), valueName->c_str()) : ERROR_NO_UNICODE_TRANSLATION;
        if (deleted != ERROR_SUCCESS && !IsGone(deleted) && SUCCEEDED(result))
            result = HRESULT_FROM_WIN32(deleted);
    }
    for (const ScriptKey& subkey : entry.subkeys) {
        if (const HRESULT hr = UnregisterKey(key.Get(), subkey); FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

} // namespace

HRESULT RunRegistryScript(const RegistryScript& script, ScriptAction action, HKEY classesRoot)
{
    HRESULT result = S_OK;
    for (const ScriptBlock& block : script.blocks) {
        const HKEY root = RootKey(block.root, classesRoot);
        for (const ScriptKey& key : block.keys) {
            if (action == ScriptAction::Register) {
                if (const HRESULT hr = RegisterKey(root, key); FAILED(hr))
                    return hr;
            } else if (const HRESULT hr = UnregisterKey(root, key); FAILED(hr) && SUCCEEDED(result)) {
                result = hr;
            }
        }
    }
    return result;
}

} // namespace tesselator
