#pragma once
// What DllRegisterServer and DllUnregisterServer do.
#include <windows.h>

namespace tesselator {

// Approval value (NT family; E_ACCESSDENIED and nothing else written when it
// cannot be set), then the script of resource IDR_SIMPLESHLEXT and the type
// library.
HRESULT RegisterServer();
// Removes the approval value whatever it finds, then runs the script in
// unregister mode and removes the type library.
HRESULT UnregisterServer();

} // namespace tesselator
