#include "shellext/Module.h"

#include <atomic>

namespace tesselator {

namespace {
HINSTANCE g_instance = nullptr;
std::atomic<long> g_locks{0};
} // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE ModuleInstance() { return g_instance; }

void LockModule() { ++g_locks; }
void UnlockModule() { --g_locks; }
long ModuleLockCount() { return g_locks.load(); }

bool GetModulePath(std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(g_instance, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    path.assign(buffer, length);
    return true;
}

} // namespace tesselator
