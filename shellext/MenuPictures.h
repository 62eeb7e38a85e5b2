#pragma once
// The menu's two pictures, made once per display scale and process: the
// shell builds a menu on every right-click, from any of its threads, and
// the pictures never change while the library is loaded.
#include <windows.h>

namespace tesselator {

struct MenuPictureSet {
    HBITMAP entry = nullptr;
    HBITMAP submenu = nullptr;
    // MenuPictureScale: 0 is the 16-colour pair, set as check-mark
    // pictures; 150 % and 200 % are 32-bit with alpha, which menus blend
    // only as item bitmaps.
    int scale = 0;
};

// The pictures for the menu the calling thread is about to show. Both are
// null when they could not be made: that menu shows none, and the next one
// tries again. The library keeps them until it unloads.
MenuPictureSet PicturesForMenu();

// Deletes every picture made. Only when the library unloads: a menu the
// shell still shows would lose its pictures.
void ReleaseMenuPictures();

} // namespace tesselator
