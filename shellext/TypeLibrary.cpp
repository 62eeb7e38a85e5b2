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
    std::string modulePath;
    if (!GetModulePath(modulePath))
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    path = ToWide(modulePath);
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
    if (FAILED(hr)) {
        path = ToWide(ReplaceExtension(modulePath, ".tlb"));
        hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
    }
    return hr;
}

} // namespace

HRESULT RegisterTypeLibrary()
{
    CComHolder<ITypeLib> library;
    std::wstring path;
    const HRESULT hr = LoadOwnTypeLibrary(library.Put(), path);
    if (FAILED(hr))
        return hr;
    return RegisterTypeLib(library.Get(), path.data(), nullptr);
}

HRESULT UnregisterTypeLibrary()
{
    using UnRegisterTypeLibFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
    CModuleHolder oleaut(LoadLibraryA("oleaut32.dll"));
    if (!oleaut)
        return S_OK;
    const auto unregister =
        reinterpret_cast<UnRegisterTypeLibFn>(GetProcAddress(oleaut.Get(), "UnRegisterTypeLib"));
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
