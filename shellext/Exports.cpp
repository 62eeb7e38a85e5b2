// The exports of the in-process server and the entry point.
#include "shellext/ClassFactory.h"
#include "shellext/ComBoundary.h"
#include "shellext/MenuPictures.h"
#include "shellext/Module.h"
#include "shellext/Registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        tesselator::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    // Unloaded by FreeLibrary (not at process exit, which frees all GDI
    // objects anyway): DeleteObject is safe under the loader lock.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        tesselator::ReleaseMenuPictures();
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return tesselator::Guarded([] { return tesselator::ModuleLockCount() == 0 ? S_OK : S_FALSE; });
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* result)
{
    return tesselator::Guarded([&] { return tesselator::GetClassObject(clsid, riid, result); });
}

STDAPI DllRegisterServer()
{
    return tesselator::Guarded([] { return tesselator::RegisterServer(tesselator::RegistrationScope::Machine); });
}

STDAPI DllUnregisterServer()
{
    return tesselator::Guarded([] { return tesselator::UnregisterServer(tesselator::RegistrationScope::Machine); });
}

// regsvr32 /n /i:user calls DllInstall(TRUE, L"user"), with /u DllInstall(FALSE, L"user").
STDAPI DllInstall(BOOL install, PCWSTR commandLine)
{
    return tesselator::Guarded([&] { return tesselator::Install(install != FALSE, commandLine); });
}
