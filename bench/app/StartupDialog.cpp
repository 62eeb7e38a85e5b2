// The bare form of start-up: a program that shows the main window's
// template, with the same manifest, and its list left empty.
#include "resources/MainWindowIds.h"

#include <windows.h>
#include <commctrl.h>

namespace {

INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default: return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    InitCommonControls();
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, BareProc, 0);
    return 0;
}
