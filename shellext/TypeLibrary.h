#pragma once
// Registration of the type library that the library carries as TYPELIB 1.
#include "shellext/Registration.h"

#include <windows.h>

namespace tesselator {

// For one user: skipped (S_OK) where oleaut32 lacks the per-user forms.
HRESULT RegisterTypeLibrary(RegistrationScope scope);
// Skipped (S_OK) where oleaut32 lacks UnRegisterTypeLib (or its per-user form).
HRESULT UnregisterTypeLibrary(RegistrationScope scope);

} // namespace tesselator
