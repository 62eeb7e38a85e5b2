#include "shellext/TypeLibrary.h"

#include "shellext/Holders.h"
#include "shellext/Module.h"
#include "shellext/TextTools.h"

#include <oleauto.h>

#include <string>

namespace tesselator {

namespace {

// From the library's own file (resource TYPELIB 1); where that fails, from a
// .tlb file of the same name beside it. path receives the file that served.
HRESULT LoadOwnTypeLibrary(ITypeLib** library, std::wstring& path)
{
    std::wstring modulePath;
    if (!GetModulePath(modulePath))
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    path = modulePath;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
    if (FAILED(hr)) {
        path = ReplaceExtension<wchar_t>(modulePath, L".tlb");
        hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
    }
    return hr;
}

// Looked up at run time: older systems lack the per-user forms.
template <typename Function>
Function OleautFunction(CModuleHolder& oleaut, const char* name)
{
    oleaut.Reset(LoadLibraryW(L"oleaut32.dll"));
    return oleaut ? reinterpret_cast<Function>(GetProcAddress(oleaut.Get(), name)) : nullptr;
}

} // namespace

HRESULT RegisterTypeLibrary(RegistrationScope scope)
{
    using RegisterTypeLibFn = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
    CModuleHolder oleaut;
    RegisterTypeLibFn registerLibrary = RegisterTypeLib;
    if (scope == RegistrationScope::User) {
        registerLibrary = OleautFunction<RegisterTypeLibFn>(oleaut, "RegisterTypeLibForUser");
        if (!registerLibrary)
            return S_OK;
    }
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
    CModuleHolder oleaut;
    const auto unregister = OleautFunction<UnRegisterTypeLibFn>(
        oleaut, scope == RegistrationScope::User ? "UnRegisterTypeLibForUser" : "UnRegisterTypeLib");
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
