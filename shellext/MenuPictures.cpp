#include "shellext/MenuPictures.h"

#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"
#include "shellext/Module.h"
#include "shellext/PictureDecoder.h"
#include "shellext/ResourceIds.h"

namespace tesselator {

namespace {

constexpr int kScales = 3; // MenuPictureScale's 0, 1, 2
constexpr int kEntries[kScales] = {IDB_ENTRY, IDB_ENTRY_150, IDB_ENTRY_200};
constexpr int kSubmenus[kScales] = {IDB_SUBMENU, IDB_SUBMENU_150, IDB_SUBMENU_200};

// The library's own 16-colour pictures are decoded here and made with
// CreateBitmap, far cheaper than LoadBitmap or a DIB section; any other
// format falls back to the loader.
HBITMAP LoadPicture(int id)
{
    const HMODULE module = ModuleInstance();
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    PicturePixels pixels;
    if (loaded && DecodePicture(LockResource(loaded), SizeofResource(module, resource), pixels))
        return CreateBitmap(kPictureSize, kPictureSize, 1, 32, pixels.data());
    return static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The scaled pictures keep their alpha only in a DIB section.
HBITMAP LoadAlphaPicture(int id)
{
    return static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// One pair per scale, made by the first menu that needs it.
struct PicturePair {
    INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    HBITMAP entry = nullptr;
    HBITMAP submenu = nullptr;
};
PicturePair g_pictures[kScales];

BOOL CALLBACK MakePictures(INIT_ONCE*, void* scaleParameter, void**)
{
    const int scale = *static_cast<const int*>(scaleParameter);
    const auto load = scale == 0 ? &LoadPicture : &LoadAlphaPicture;
    CBitmapHolder entry(load(kEntries[scale]));
    CBitmapHolder submenu(load(kSubmenus[scale]));
    if (!entry || !submenu)
        return FALSE; // nothing kept: the next menu tries again
    g_pictures[scale].entry = entry.Detach();
    g_pictures[scale].submenu = submenu.Detach();
    return TRUE;
}

// The DPI calls of Windows 10 1607 on, looked up once per process.
struct DpiCalls {
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    UINT(WINAPI* forSystem)() = nullptr;
    DPI_AWARENESS_CONTEXT(WINAPI* threadContext)() = nullptr;
    DPI_AWARENESS(WINAPI* awarenessOf)(DPI_AWARENESS_CONTEXT) = nullptr;
};
INIT_ONCE g_dpiCallsOnce = INIT_ONCE_STATIC_INIT;
DpiCalls g_dpiCalls;

BOOL CALLBACK FindDpiCalls(INIT_ONCE*, void*, void**)
{
    if (const HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        g_dpiCalls.forWindow = reinterpret_cast<UINT(WINAPI*)(HWND)>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
        g_dpiCalls.forSystem =
            reinterpret_cast<UINT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForSystem")));
        g_dpiCalls.threadContext = reinterpret_cast<DPI_AWARENESS_CONTEXT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
        g_dpiCalls.awarenessOf = reinterpret_cast<DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT)>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    }
    return TRUE;
}

const DpiCalls& Dpi()
{
    InitOnceExecuteOnce(&g_dpiCallsOnce, &FindDpiCalls, nullptr, nullptr);
    return g_dpiCalls;
}

// The screen's DPI as the calling thread sees it (96 when it is not DPI
// aware). GetDpiForSystem answers the same as a screen DC's LOGPIXELSX
// without making one, which costs more than the rest of a menu.
int ScreenDpi(const DpiCalls& calls)
{
    if (calls.forSystem)
        return static_cast<int>(calls.forSystem());
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : USER_DEFAULT_SCREEN_DPI;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi;
}

// Only a per-monitor aware thread can show the menu at a DPI other than the
// one the system gives the thread; for the others the system's answer is the
// window's, and asking for the active window costs a trip to the window
// manager on every menu.
bool ThreadIsPerMonitorAware(const DpiCalls& calls)
{
    if (!calls.threadContext || !calls.awarenessOf)
        return true; // cannot tell: ask the window
    return calls.awarenessOf(calls.threadContext()) == DPI_AWARENESS_PER_MONITOR_AWARE;
}

// The DPI of the window the menu is shown for: the active one of the
// calling thread, else the screen's.
int MenuDpi()
{
    const DpiCalls& calls = Dpi();
    const HWND window = calls.forWindow && ThreadIsPerMonitorAware(calls) ? GetActiveWindow() : nullptr;
    if (window) {
        const UINT dpi = calls.forWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return ScreenDpi(calls);
}

} // namespace

MenuPictureSet PicturesForMenu()
{
    int scale = MenuPictureScale(MenuDpi());
    if (!InitOnceExecuteOnce(&g_pictures[scale].once, &MakePictures, &scale, nullptr))
        return {nullptr, nullptr, scale};
    return {g_pictures[scale].entry, g_pictures[scale].submenu, scale};
}

void ReleaseMenuPictures()
{
    for (PicturePair& pair : g_pictures) {
        if (pair.entry)
            DeleteObject(pair.entry);
        if (pair.submenu)
            DeleteObject(pair.submenu);
        pair = PicturePair{};
    }
}

} // namespace tesselator
