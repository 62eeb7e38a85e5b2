#pragma once
// The DPI a window is shown at, and the system's figures at a DPI. The
// per-monitor functions came with Windows 10 (1607, 1703); they are looked
// up at run time, and where one is missing the screen's LOGPIXELSX and the
// system metrics of the system DPI stand in. The arithmetic is
// framework/DpiScale.h.
//
//   const CDpiScale scale = ScaleOfWindow(m_hWnd);
//   MoveWindow(button, x, y, scale(99), scale(26), TRUE);
//   HICON icon = LoadIconOfSize(module, id, SmallIconSizeForDpi(scale.Dpi()));
#include "framework/DpiScale.h"

#include <windows.h>

// GetDpiForWindow, or the screen's LOGPIXELSX; a null window: the system's.
int DpiOfWindow(HWND window);
// The scale of a window: look it up once per layout, not per figure.
CDpiScale ScaleOfWindow(HWND window);

// GetSystemMetricsForDpi, or the system metric moved from the system's DPI.
int SystemMetricForDpi(int index, int dpi);
// Icons of image lists, trees, status bars and menus at this DPI.
int SmallIconSizeForDpi(int dpi);

// An icon resource at this size, made from its nearest image rather than a
// small one stretched; the caller destroys it.
HICON LoadIconOfSize(HINSTANCE module, UINT id, int size);

// A font like this one, for a window that moves from one DPI to another;
// the caller deletes it. Null when the font cannot be read.
HFONT CreateRescaledFont(HFONT font, int fromDpi, int toDpi);

// A dialog that lays itself out in code and rebuilds its fonts on
// WM_DPICHANGED: the dialog manager must not resize it or change its
// controls' fonts as well (Windows 10 1703 and later; elsewhere nothing to do).
void TakeOverDpiChanges(HWND dialog);
