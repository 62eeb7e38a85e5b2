#pragma once
// What DllRegisterServer, DllUnregisterServer and DllInstall do.
#include <windows.h>

namespace tesselator {

// Machine: HKEY_CLASSES_ROOT and the machine's approval list. User: the same
// entries under HKCU\Software\Classes and the user's approval list.
enum class RegistrationScope { Machine, User };

// Approval value (E_ACCESSDENIED and nothing else written when it cannot be
// set), then the script of resource IDR_SIMPLESHLEXT and the type library.
HRESULT RegisterServer(RegistrationScope scope);
// Removes the approval value whatever it finds, then runs the script in
// unregister mode and removes the type library.
HRESULT UnregisterServer(RegistrationScope scope);
// DllInstall: the command line "user" (any case) registers or unregisters
// for the current user; anything else is E_INVALIDARG.
HRESULT Install(bool install, const wchar_t* commandLine);

} // namespace tesselator
