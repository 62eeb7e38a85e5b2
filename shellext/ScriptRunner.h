#pragma once
// Carries out a parsed registrar script on the registry (narrow API).
#include "shellext/RegistryScript.h"

#include <windows.h>

namespace tesselator {

enum class ScriptAction { Register, Unregister };

// Register: ForceRemove keys are deleted with their subtree first, then every
// key is created or opened and its values written. Unregister: NoRemove keys
// stay (only their named values and marked subkeys go); every other key is
// deleted with its subtree. Keys already gone count as removed.
// classesRoot stands for the script's HKCR: HKEY_CLASSES_ROOT for the
// machine, HKCU\Software\Classes for one user; HKCU and HKLM blocks stay put.
HRESULT RunRegistryScript(const RegistryScript& script, ScriptAction action,
                          HKEY classesRoot = HKEY_CLASSES_ROOT);

} // namespace tesselator
