#include "shellext/Registration.h"

#include "shellext/Holders.h"
#include "shellext/Identity.h"
#include "shellext/Module.h"
#include "shellext/RegistryScript.h"
#include "shellext/ResourceIds.h"
#include "shellext/ScriptRunner.h"
#include "shellext/TypeLibrary.h"

#include <string_view>

namespace tesselator {

namespace {

HRESULT WriteApproval()
{
    CKeyHolder key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
        return E_ACCESSDENIED;
    if (RegSetValueExA(key.Get(), kClassIdText, 0, REG_SZ, reinterpret_cast<const BYTE*>(kApprovedName),
                       sizeof kApprovedName) != ERROR_SUCCESS)
        return E_ACCESSDENIED;
    return S_OK;
}

void RemoveApproval()
{
    CKeyHolder key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS)
        RegDeleteValueA(key.Get(), kClassIdText);
}

bool LoadScriptText(std::string_view& text)
{
    const HMODULE module = ModuleInstance();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_SIMPLESHLEXT), "REGISTRY");
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    text = std::string_view(static_cast<const char*>(bytes), SizeofResource(module, resource));
    return true;
}

// %MODULE%: the library's path in its short form (the long one where the
// file system has no short names), quoted for the script's '...'.
std::string ModuleVariable()
{
    std::string path;
    if (!GetModulePath(path))
        return {};
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        path.assign(shortPath, length);
    return DoubleSingleQuotes(path);
}

HRESULT RunScriptResource(ScriptAction action)
{
    std::string_view text;
    if (!LoadScriptText(text))
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    const std::string module = ModuleVariable();
    if (module.empty())
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    const std::optional<std::string> expanded = ExpandScriptVariables(text, {{"MODULE", module}});
    const std::optional<RegistryScript> script = expanded ? ParseRegistryScript(*expanded) : std::nullopt;
    if (!script)
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    return RunRegistryScript(*script, action);
}

} // namespace

HRESULT RegisterServer()
{
    if (const HRESULT hr = WriteApproval(); FAILED(hr))
        return hr;
    if (const HRESULT hr = RunScriptResource(ScriptAction::Register); FAILED(hr))
        return hr;
    return RegisterTypeLibrary();
}

HRESULT UnregisterServer()
{
    RemoveApproval();
    const HRESULT script = RunScriptResource(ScriptAction::Unregister);
    const HRESULT typeLibrary = UnregisterTypeLibrary();
    return FAILED(script) ? script : typeLibrary;
}

} // namespace tesselator
