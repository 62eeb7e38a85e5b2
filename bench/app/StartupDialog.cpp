// The bare form of start-up: a program that shows the main window's
// template, with the same manifest, and its list left empty. Built a second
// time as the floor (PLATFORM_FLOOR): the same, plus what the program's first
// screen asks of the platform whatever its own work: the libraries it is
// linked with loaded, COM started on the thread, and the list shown with as
// many rows as its command line says, each with four texts and a stock icon
// (no file read, nothing looked up).
#include "resources/MainWindowIds.h"

#include <windows.h>
#include <bcrypt.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

namespace {

#ifdef PLATFORM_FLOOR
void FillList(HWND list, int rows)
{
    RECT client{};
    GetClientRect(list, &client);
    const int tenth = (client.right - client.left) / 10;
    const int widths[] = {2 * tenth, 5 * tenth, 2 * tenth, tenth};
    const wchar_t* titles[] = {L"Command", L"Path", L"Parameters", L"Scope"};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = widths[i];
        column.pszText = const_cast<wchar_t*>(titles[i]);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    const HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(images, LoadIconW(nullptr, IDI_APPLICATION));
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    for (int row = 0; row < rows; ++row) {
        const std::wstring texts[] = {L"command" + std::to_wstring(row), L"C:\\Windows\\notepad.exe",
                                      L"-p " + std::to_wstring(row), L"All users"};
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(texts[0].c_str());
        item.iImage = 0;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < 4; ++column) {
            LVITEMW text{};
            text.iSubItem = column;
            text.pszText = const_cast<wchar_t*>(texts[column].c_str());
            SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&text));
        }
    }
}
#endif

INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM parameter)
{
    switch (message) {
    case WM_INITDIALOG:
#ifdef PLATFORM_FLOOR
        FillList(GetDlgItem(dialog, IDC_COMMAND_LIST), static_cast<int>(parameter));
#else
        (void)parameter;
#endif
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default: return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
    const int rows = _wtoi(commandLine);
#ifdef PLATFORM_FLOOR
    // Referenced, so the loader maps what the program's import table names.
    static volatile const void* const linked[] = {reinterpret_cast<const void*>(&BCryptGenRandom),
                                                  reinterpret_cast<const void*>(&SHGetFolderPathW),
                                                  reinterpret_cast<const void*>(&GetStockObject)};
    (void)linked;
    const HRESULT com = CoInitialize(nullptr);
#endif
    InitCommonControls();
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, BareProc, rows);
#ifdef PLATFORM_FLOOR
    if (SUCCEEDED(com))
        CoUninitialize();
#endif
    return 0;
}
