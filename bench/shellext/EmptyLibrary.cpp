// An in-process library with nothing in it, built as Tesselator.dll is (same
// toolchain, runtime linked in): what loading any library costs a freshly
// started process, the floor under the first right-click.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
