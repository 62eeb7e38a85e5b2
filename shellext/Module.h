#pragma once
// The library's module state: its instance handle and the lock count that
// DllCanUnloadNow reads. The shell may ask from any thread, so the count
// changes atomically; everything else lives in apartment-bound objects.
#include <windows.h>

#include <string>

namespace tesselator {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

void LockModule();
void UnlockModule();
long ModuleLockCount();

// The library's own full path; false when it does not fit MAX_PATH
// characters.
bool GetModulePath(std::wstring& path);

} // namespace tesselator
