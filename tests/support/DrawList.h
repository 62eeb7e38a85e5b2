#pragma once
// Paints a list into a memory bitmap, as a shown window would: the rows in
// view ask for their callback images then. Header-only, for the tests and
// the benches alike.
#include <windows.h>

inline void DrawList(HWND list)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 600);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
