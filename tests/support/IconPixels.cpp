#include "tests/support/IconPixels.h"

namespace {

// Draws 16 x 16 pixels with the painter into a white 32-bit bitmap.
template <typename Paint>
Pixels Render(Paint paint)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, 16, 16, WHITENESS);
    paint(dc);
    GdiFlush();
    Pixels pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + 16 * 16);
    for (uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF; // colour only; the fourth byte is not drawn reliably
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

Pixels ImagePixels(const CImageList& images, int index)
{
    return Render([&](HDC dc) { ImageList_Draw(images.Get(), index, dc, 0, 0, ILD_NORMAL); });
}

Pixels IconPixels(HICON icon)
{
    CImageList images;
    images.Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 1); // as the window makes its lists
    const int index = images.Add(icon);
    return ImagePixels(images, index);
}
