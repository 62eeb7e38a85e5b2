#include "framework/WindowDpi.h"

namespace {

template <typename Function>
Function User32Function(const char* name)
{
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(GetProcAddress(user32, name)) : nullptr;
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

} // namespace

int DpiOfWindow(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (window && getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

CDpiScale ScaleOfWindow(HWND window)
{
    return CDpiScale(DpiOfWindow(window));
}

int SystemMetricForDpi(int index, int dpi)
{
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi && dpi > 0)
        return forDpi(index, static_cast<UINT>(dpi));
    return RescaleForDpi(GetSystemMetrics(index), ScreenDpi(), dpi);
}

int SmallIconSizeForDpi(int dpi)
{
    const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
    return size > 0 ? size : ScaleForDpi(16, dpi);
}

HICON LoadIconOfSize(HINSTANCE module, UINT id, int size)
{
    return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

HFONT CreateRescaledFont(HFONT font, int fromDpi, int toDpi)
{
    LOGFONTW face{};
    if (!font || GetObjectW(font, sizeof face, &face) != sizeof face)
        return nullptr;
    face.lfHeight = RescaleForDpi(face.lfHeight, fromDpi, toDpi);
    face.lfWidth = RescaleForDpi(face.lfWidth, fromDpi, toDpi);
    return CreateFontIndirectW(&face);
}

void TakeOverDpiChanges(HWND dialog)
{
    // DDC_DISABLE_ALL: no resizing, no font update, no control relayout.
    constexpr int kDisableAll = 0x0001;
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (setBehavior)
        setBehavior(dialog, kDisableAll, kDisableAll);
}
