#pragma once
// Registration of the type library that the library carries as TYPELIB 1.
#include <windows.h>

namespace tesselator {

HRESULT RegisterTypeLibrary();
// Skipped (S_OK) where oleaut32 lacks UnRegisterTypeLib.
HRESULT UnregisterTypeLibrary();

} // namespace tesselator
