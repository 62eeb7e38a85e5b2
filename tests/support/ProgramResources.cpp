#include "tests/support/ProgramResources.h"

#include "framework/CodePage.h"
#include "tests/support/TempFolder.h"

CLibraryHandle LoadProgramAsData()
{
    const std::wstring exe = BinFolder() + L"\\quillon.exe";
    return CLibraryHandle(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

namespace {

BOOL CALLBACK AddTemplateId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<UINT>*>(ids)->push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

} // namespace

std::vector<UINT> DialogTemplateIds(HMODULE module)
{
    std::vector<UINT> ids;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(5), AddTemplateId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}
