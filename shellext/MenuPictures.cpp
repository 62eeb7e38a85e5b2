#include "shellext/MenuPictures.h"

#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"
#include "shellext/Module.h"
#include "shellext/PictureDecoder.h"
#include "shellext/ResourceIds.h"

#include <atomic>
#include <type_traits>

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
    DPI_AWARENESS_CONTEXT(WINAPI* threadContext)() = nullptr;
    DPI_AWARENESS(WINAPI* awarenessOf)(DPI_AWARENESS_CONTEXT) = nullptr;
};
INIT_ONCE g_dpiCallsOnce = INIT_ONCE_STATIC_INIT;
DpiCalls g_dpiCalls;

BOOL CALLBACK FindDpiCalls(INIT_ONCE*, void*, void**)
{
    if (const HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        const auto find = [user32](auto& call, const char* name) {
            call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(
                reinterpret_cast<void*>(GetProcAddress(user32, name)));
        };
        find(g_dpiCalls.forWindow, "GetDpiForWindow");
        find(g_dpiCalls.threadContext, "GetThreadDpiAwarenessContext");
        find(g_dpiCalls.awarenessOf, "GetAwarenessFromDpiAwarenessContext");
    }
    return TRUE;
}

const DpiCalls& Dpi()
{
    InitOnceExecuteOnce(&g_dpiCallsOnce, &FindDpiCalls, nullptr, nullptr);
    return g_dpiCalls;
}

// The screen's DPI as a thread of each DPI awareness sees it (unknown,
// unaware, system, per monitor; 0 until asked). It holds for the process's
// life, and a screen DC costs more than the whole rest of a menu.
std::atomic<int> g_screenDpi[4];

int ScreenDpi(const DpiCalls& calls)
{
    int awareness = DPI_AWARENESS_INVALID;
    if (calls.threadContext && calls.awarenessOf)
        awareness = calls.awarenessOf(calls.threadContext());
    std::atomic<int>& known = g_screenDpi[awareness >= DPI_AWARENESS_UNAWARE && awareness <= DPI_AWARENESS_PER_MONITOR_AWARE
                                              ? awareness + 1
                                              : 0];
    int dpi = known.load(std::memory_order_relaxed);
    if (dpi != 0)
        return dpi;
    const HDC screen = GetDC(nullptr);
    dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (dpi <= 0)
        return USER_DEFAULT_SCREEN_DPI; // not kept: the next menu asks again
    known.store(dpi, std::memory_order_relaxed);
    return dpi;
}

// The DPI of the window the menu is shown for: the active one of the
// calling thread, else the screen's.
int MenuDpi()
{
    const DpiCalls& calls = Dpi();
    const HWND window = calls.forWindow ? GetActiveWindow() : nullptr;
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
