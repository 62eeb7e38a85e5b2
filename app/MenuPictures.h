#pragma once
// The pictures of the main window's menu items, drawn for its scale.
#include "framework/DpiScale.h"

#include <windows.h>

// The program's menu picture (its 100 % resource id) for the scale, its
// 3D-grey background in the menu's own colour; the caller deletes it.
HBITMAP LoadMenuPicture(UINT id, const CDpiScale& scale);

// The system's shield for a menu item, on the menu's background; the
// caller deletes it.
HBITMAP LoadShieldPicture(const CDpiScale& scale);

// The item shows the picture checked and unchecked; the menu does not own it.
inline void SetItemPicture(HMENU menu, UINT item, HBITMAP bitmap)
{
    SetMenuItemBitmaps(menu, item, MF_BYCOMMAND, bitmap, bitmap);
}
