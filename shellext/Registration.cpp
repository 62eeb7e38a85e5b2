#include "shellext/Registration.h"

#include "shellext/Holders.h"
#include "shellext/Identity.h"
#include "shellext/Module.h"
#include "shellext/RegistryScript.h"
#include "shellext/ResourceIds.h"
#include "shellext/ScriptRunner.h"
#include "shellext/TypeLibrary.h"
#include "shellext/WideText.h"

#include <string_view>

namespace tesselator {

namespace {

HKEY ApprovalRoot(RegistrationScope scope)
{
    return scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

HRESULT WriteApproval(RegistrationScope scope)
{
    // The machine's list is only opened: where it is missing, the user may
    // not approve. A user's own list often does not exist yet.
    CKeyHolder key;
    const std::wstring approvedKey = AsciiToWide(kApprovedKey);
    const LONG opened = scope == RegistrationScope::User
        ? RegCreateKeyExW(HKEY_CURRENT_USER, approvedKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                          nullptr, key.Put(), nullptr)
        : RegOpenKeyExW(HKEY_LOCAL_MACHINE, approvedKey.c_str(), 0, KEY_SET_VALUE, key.Put());
    if (opened != ERROR_SUCCESS)
        return E_ACCESSDENIED;
    const std::wstring name = AsciiToWide(kApprovedName);
    if (RegSetValueExW(key.Get(), AsciiToWide(kClassIdText).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(name.c_str()),
                       static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        return E_ACCESSDENIED;
    return S_OK;
}

void RemoveApproval(RegistrationScope scope)
{
    CKeyHolder key;
    if (RegOpenKeyExW(ApprovalRoot(scope), AsciiToWide(kApprovedKey).c_str(), 0, KEY_SET_VALUE, key.Put()) ==
        ERROR_SUCCESS)
        RegDeleteValueW(key.Get(), AsciiToWide(kClassIdText).c_str());
}

bool LoadScriptText(std::string_view& text)
{
    const HMODULE module = ModuleInstance();
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_SIMPLESHLEXT), L"REGISTRY");
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    text = std::string_view(static_cast<const char*>(bytes), SizeofResource(module, resource));
    return true;
}

// %MODULE%: the library's path in its short form (the long one where the
// file system has no short names), in UTF-8 as the script is, quoted for
// the script's '...'.
HRESULT ModuleVariable(std::string& variable)
{
    std::wstring path;
    if (!GetModulePath(path))
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        path.assign(shortPath, length);
    // A name with an unpaired surrogate has no UTF-8 form: never write a
    // path that names another file.
    const std::optional<std::string> utf8 = WideToUtf8(path);
    if (!utf8)
        return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
    variable = DoubleSingleQuotes(*utf8);
    return S_OK;
}

HRESULT RunScriptResource(ScriptAction action, HKEY classesRoot)
{
    std::string_view text;
    if (!LoadScriptText(text))
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    std::string module;
    if (const HRESULT hr = ModuleVariable(module); FAILED(hr))
        return hr;
    const std::optional<std::string> expanded = ExpandScriptVariables(text, {{"MODULE", module}});
    const std::optional<RegistryScript> script = expanded ? ParseRegistryScript(*expanded) : std::nullopt;
    if (!script)
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    return RunRegistryScript(*script, action, classesRoot);
}

// The script's HKCR is HKEY_CLASSES_ROOT for the machine and the user's own
// classes for one user; unregistering has nothing to do where they are missing.
HRESULT RunScriptFor(RegistrationScope scope, ScriptAction action)
{
    if (scope == RegistrationScope::Machine)
        return RunScriptResource(action, HKEY_CLASSES_ROOT);
    constexpr wchar_t kUserClasses[] = L"Software\\Classes";
    CKeyHolder classes;
    const LONG rc = action == ScriptAction::Register
        ? RegCreateKeyExW(HKEY_CURRENT_USER, kUserClasses, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                          nullptr, classes.Put(), nullptr)
        : RegOpenKeyExW(HKEY_CURRENT_USER, kUserClasses, 0, KEY_READ | KEY_WRITE, classes.Put());
    if (action == ScriptAction::Unregister && (rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND))
        return S_OK;
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    return RunScriptResource(action, classes.Get());
}

} // namespace

HRESULT RegisterServer(RegistrationScope scope)
{
    if (const HRESULT hr = WriteApproval(scope); FAILED(hr))
        return hr;
    if (const HRESULT hr = RunScriptFor(scope, ScriptAction::Register); FAILED(hr))
        return hr;
    return RegisterTypeLibrary(scope);
}

HRESULT UnregisterServer(RegistrationScope scope)
{
    RemoveApproval(scope);
    const HRESULT script = RunScriptFor(scope, ScriptAction::Unregister);
    const HRESULT typeLibrary = UnregisterTypeLibrary(scope);
    return FAILED(script) ? script : typeLibrary;
}

HRESULT Install(bool install, const wchar_t* commandLine)
{
    if (!commandLine || CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) != CSTR_EQUAL)
        return E_INVALIDARG;
    return install ? RegisterServer(RegistrationScope::User) : UnregisterServer(RegistrationScope::User);
}

} // namespace tesselator
