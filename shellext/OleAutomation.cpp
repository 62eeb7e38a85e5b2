#include "shellext/OleAutomation.h"

namespace tesselator {

HMODULE OleAutomation()
{
    constexpr wchar_t kName[] = L"oleaut32.dll";
    HMODULE module = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, kName, &module))
        return module;
    module = LoadLibraryW(kName);
    HMODULE pinned = nullptr;
    if (module)
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, kName, &pinned);
    return module;
}

} // namespace tesselator
