#pragma once
// Carries out a parsed registrar script (UTF-8) on the registry through
// the wide calls.
#include "shellext/RegistryScript.h"

#include <windows.h>

namespace tesselator {

enum class ScriptAction { Register, Unregister };

// Register: ForceRemove keys are deleted with their subtree first, then every
// key is created or opened and its values written. Unregister: NoRemove keys
// stay (only their named values and marked subkeys go); every other key is
// deleted with its subtree. Keys already gone count as removed. A name or
// text that is no UTF-8 stops the run with ERROR_NO_UNICODE_TRANSLATION.
// classesRoot stands for the script's HKCR: HKEY_CLASSES_ROOT for the
// machine, HKCU\Software\Classes for one user; HKCU and HKLM blocks stay put.
HRESULT RunRegistryScript(const RegistryScript& script, ScriptAction action,
                          HKEY classesRoot = HKEY_CLASSES_ROOT);

} // namespace tesselator
