#pragma once
// What an image list draws, as pixels: a row's icon compared with the one
// the icon rule gives.
#include "framework/Controls.h"

#include <windows.h>

#include <cstdint>
#include <vector>

using Pixels = std::vector<uint32_t>;

// The 16 x 16 pixels one image of the list draws on white.
Pixels ImagePixels(const CImageList& images, int index);
// The icon as an image list of the window's kind stores and draws it.
Pixels IconPixels(HICON icon);
