#pragma once
// The class objects of the library, one per entry of its class table.
#include <windows.h>
#include <objbase.h>

namespace tesselator {

// DllGetClassObject's work: the factory of clsid, asked for riid.
HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** result);

} // namespace tesselator
