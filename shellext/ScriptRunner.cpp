#include "shellext/ScriptRunner.h"

#include "shellext/Holders.h"

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

HRESULT DeleteTree(HKEY parent, const std::string& name)
{
    const LONG rc = RegDeleteTreeA(parent, name.c_str());
    return rc == ERROR_SUCCESS || IsGone(rc) ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT SetString(HKEY key, const char* name, const std::string& data)
{
    const LONG rc = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                   static_cast<DWORD>(data.size() + 1));
    return HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterKey(HKEY parent, const ScriptKey& entry)
{
    if (entry.mode == KeyMode::ForceRemove) {
        if (const HRESULT hr = DeleteTree(parent, entry.name); FAILED(hr))
            return hr;
    }
    CKeyHolder key;
    const LONG rc = RegCreateKeyExA(parent, entry.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_WRITE, nullptr, key.Put(), nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    if (entry.defaultValue) {
        if (const HRESULT hr = SetString(key.Get(), nullptr, *entry.defaultValue); FAILED(hr))
            return hr;
    }
    for (const ScriptValue& value : entry.values) {
        if (const HRESULT hr = SetString(key.Get(), value.name.c_str(), value.data); FAILED(hr))
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
    CKeyHolder key;
    const LONG rc = RegOpenKeyExA(parent, entry.name.c_str(), 0, KEY_READ | KEY_SET_VALUE, key.Put());
    if (IsGone(rc))
        return S_OK;
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    // Removal goes on past a failure, so one stuck entry leaves no others.
    HRESULT result = S_OK;
    for (const ScriptValue& value : entry.values) {
        const LONG deleted = RegDeleteValueA(key.Get(), value.name.c_str());
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
