#include "shellext/TypeLibrary.h"

#include "shellext/Holders.h"
#include "shellext/Module.h"
#include "shellext/OleAutomation.h"
#include "shellext/TextTools.h"

#include <oleauto.h>

#include <string>

namespace tesselator {

namespace {

// From the library's own file (resource TYPELIB 1); where that fails, from a
// .tlb file of the same name beside it. path receives the file that served.
HRESULT LoadOwnTypeLibrary(ITypeLib** library, std::wstring& path)
{
    const auto loadTypeLib = OleAutomationCall<decltype(&LoadTypeLibEx)>("LoadTypeLibEx");
    if (!loadTypeLib)
        return TYPE_E_CANTLOADLIBRARY;
    std::wstring modulePath;
    if (!GetModulePath(modulePath))
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    path = modulePath;
    HRESULT hr = loadTypeLib(path.c_str(), REGKIND_NONE, library);
    if (FAILED(hr)) {
        path = ReplaceExtension<wchar_t>(modulePath, L".tlb");
        hr = loadTypeLib(path.c_str(), REGKIND_NONE, library);
    }
    return hr;
}

} // namespace

HRESULT RegisterTypeLibrary(RegistrationScope scope)
{
    using RegisterTypeLibFn = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
    const bool user = scope == RegistrationScope::User;
    const auto registerLibrary =
        OleAutomationCall<RegisterTypeLibFn>(user ? "RegisterTypeLibForUser" : "RegisterTypeLib");
    if (!registerLibrary)
        return user ? S_OK : TYPE_E_CANTLOADLIBRARY;
    CComHolder<ITypeLib> library;
    std::wstring path;
    const HRESULT hr = LoadOwnTypeLibrary(library.Put(), path);
    if (FAILED(hr))
        return hr;
    return registerLibrary(library.Get(), path.data(), nullptr);
}

HRESULT UnregisterTypeLibrary(RegistrationScope scope)
{
    using UnRegisterTypeLibFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
    const auto unregister = OleAutomationCall<UnRegisterTypeLibFn>(
        scope == RegistrationScope::User ? "UnRegisterTypeLibForUser" : "UnRegisterTypeLib");
    if (!unregister)
        return S_OK;

    CComHolder<ITypeLib> library;
    std::wstring path;
    HRESULT hr = LoadOwnTypeLibrary(library.Put(), path);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (FAILED(hr))
        return hr;
    hr = unregister(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                    attributes->syskind);
    library->ReleaseTLibAttr(attributes);
    return hr;
}

} // namespace tesselator
