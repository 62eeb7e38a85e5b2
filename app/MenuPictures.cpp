#include "app/MenuPictures.h"

#include "framework/WindowDpi.h"
#include "resources/MainWindowIds.h"

namespace {

// A menu picture's resources for 100 %, 150 % and 200 % display scale.
struct MenuPicture {
    UINT ids[kPictureScaleCount];
};
constexpr MenuPicture kMenuPictures[] = {
    {{IDB_MENU_NEW_COMMAND, IDB_MENU_NEW_COMMAND_150, IDB_MENU_NEW_COMMAND_200}},
    {{IDB_MENU_DELETE, IDB_MENU_DELETE_150, IDB_MENU_DELETE_200}},
    {{IDB_MENU_HELP, IDB_MENU_HELP_150, IDB_MENU_HELP_200}},
    {{IDB_MENU_CONFIGURATION, IDB_MENU_CONFIGURATION_150, IDB_MENU_CONFIGURATION_200}},
    {{IDB_MENU_ADD_FOLDER, IDB_MENU_ADD_FOLDER_150, IDB_MENU_ADD_FOLDER_200}},
};

UINT MenuPictureId(UINT id, const CDpiScale& scale)
{
    for (const MenuPicture& picture : kMenuPictures)
        if (picture.ids[0] == id)
            return picture.ids[scale.PictureScale()];
    return id;
}

} // namespace

HBITMAP LoadMenuPicture(UINT id, const CDpiScale& scale)
{
    auto* bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MenuPictureId(id, scale)),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION dib{};
    if (!bitmap || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 24
        || !dib.dsBm.bmBits)
        return bitmap;
    const COLORREF menu = GetSysColor(COLOR_MENU);
    auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (int y = 0; y < dib.dsBm.bmHeight; ++y) {
        BYTE* pixel = bits + static_cast<size_t>(y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < dib.dsBm.bmWidth; ++x, pixel += 3) {
            if (pixel[0] == 192 && pixel[1] == 192 && pixel[2] == 192) {
                pixel[0] = GetBValue(menu);
                pixel[1] = GetGValue(menu);
                pixel[2] = GetRValue(menu);
            }
        }
    }
    return bitmap;
}

HBITMAP LoadShieldPicture(const CDpiScale& scale)
{
    const int size = SystemMetricForDpi(SM_CXMENUCHECK, scale.Dpi());
    auto* shield = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32518) /* IDI_SHIELD */, IMAGE_ICON,
                                                 size, size, LR_SHARED));
    if (!shield)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, size, size};
        FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
        DrawIconEx(dc, 0, 0, shield, size, size, 0, nullptr, DI_NORMAL);
        SelectObject(dc, old);
    }
    if (dc)
        DeleteDC(dc);
    return bitmap;
}
